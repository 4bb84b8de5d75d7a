#include "ProgramTest.h"
#include "commands/TabCommands.h"
#include "panels/PanelTabRow.h"

#include <QApplication>

using namespace kiv;
using namespace kiv::test;

namespace {

// The left panel on "one", which holds "two" and "long-folder-name-that-is-cut", the right on "one".
class TabCommandsTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        m_home.write("one/a.txt", "a");
        m_home.write("one/two/b.txt", "b");
        m_home.write("one/long-folder-name-that-is-cut/c.txt", "c");
        startProgram();
        left().goTo(m_one);
        right().goTo(m_one);
        waitForJobs();
    }

    void control(Qt::Key key)
    {
        QTest::keyClick(active().tableView(), key, Qt::ControlModifier);
        waitForJobs();
    }
    PanelTabRow* rowOf(PanelViewController& panel) { return panel.view()->findChild<PanelTabRow*>(); }
    std::string folder() { return active().state().location().path(); }

    const std::string m_one = m_home.folder("one");
};

} // namespace

// Each tab keeps its own folder and marks; the row of titles shows only with two tabs or more,
// the shown one highlighted, a long name cut; Ctrl+W closes to the next and the last one stays.
TEST_F(TabCommandsTest, tabsKeepTheirFoldersAndMarks)
{
    EXPECT_TRUE(rowOf(left())->isHidden());
    const int listTop = left().tableView()->y();
    putCursorOn(left(), "a.txt");
    press(Qt::Key_Space);
    control(Qt::Key_T);
    EXPECT_FALSE(rowOf(left())->isHidden());
    EXPECT_EQ(left().tableView()->y(), listTop + PanelTabRow::rowHeight) << "the row takes room of its own";
    EXPECT_TRUE(rowOf(right())->isHidden());
    EXPECT_TRUE(left().state().markedNames().empty()) << "a new tab starts without marks";
    putCursorOn(left(), "long-folder-name-that-is-cut");
    press(Qt::Key_Return);
    EXPECT_EQ(folder(), m_one + "/long-folder-name-that-is-cut");
    EXPECT_EQ(rowOf(left())->titles(), (std::vector<std::string> { "one", "long-folder-name-that-is-cut" }));
    EXPECT_EQ(rowOf(left())->shownIndex(), 1u);

    control(Qt::Key_PageUp);
    EXPECT_EQ(folder(), m_one);
    EXPECT_EQ(left().state().markedNames(), std::unordered_set<std::string> { "a.txt" });
    EXPECT_EQ(rowOf(left())->shownIndex(), 0u);
    control(Qt::Key_PageUp); // round to the last
    EXPECT_EQ(folder(), m_one + "/long-folder-name-that-is-cut");
    EXPECT_TRUE(left().state().markedNames().empty());

    control(Qt::Key_W);
    EXPECT_EQ(folder(), m_one);
    EXPECT_EQ(left().state().markedNames(), std::unordered_set<std::string> { "a.txt" });
    EXPECT_TRUE(rowOf(left())->isHidden());
    EXPECT_EQ(left().tableView()->y(), listTop);
    control(Qt::Key_W); // the last tab stays
    EXPECT_EQ(folder(), m_one);
    control(Qt::Key_PageDown);
    EXPECT_EQ(folder(), m_one);
}

// Tabs and the shown one come back after a restart; a tab whose folder went meanwhile stands on
// the nearest folder still there, and only the shown tab is listed.
TEST_F(TabCommandsTest, tabsComeBackAfterARestartOnFoldersStillThere)
{
    control(Qt::Key_T);
    putCursorOn(left(), "two");
    press(Qt::Key_Return);
    control(Qt::Key_T);
    putCursorOn(left(), "..");
    press(Qt::Key_Return);
    putCursorOn(left(), "long-folder-name-that-is-cut");
    press(Qt::Key_Return);
    control(Qt::Key_PageUp); // "two" shown, between "one" and the long one
    finishTestDialogs();
    m_controller.reset();
    std::filesystem::remove_all(m_one + "/long-folder-name-that-is-cut");
    startProgram();
    waitForJobs();
    EXPECT_EQ(left().state().location().path(), m_one + "/two");
    EXPECT_EQ(rowOf(left())->titles(), (std::vector<std::string> { "one", "two", "one" }));
    EXPECT_EQ(rowOf(left())->shownIndex(), 1u);
    EXPECT_FALSE(rowOf(left())->isHidden());
    control(Qt::Key_PageDown);
    EXPECT_EQ(left().state().location().path(), m_one);
}
