#include "ProgramTest.h"
#include "commands/TabCommands.h"
#include "panels/FolderWatcher.h"
#include "panels/PanelTabRow.h"
#include "toolkit/RetroMenuPanel.h"
#include "toolkit/RetroMenuSession.h"
#include "toolkit/RetroMenuView.h"
#include "window/PulldownMenuBarView.h"

#include <QApplication>
#include <filesystem>

using namespace kiv;
using namespace kiv::test;

namespace {

// Both panels on "one", which holds "two" (an "a.txt" in each) and a folder with a long name.
class TabCommandsTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        m_home.write("one/a.txt", "a");
        m_home.write("one/two/a.txt", "b");
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
    void enter(const std::string& name)
    {
        putCursorOn(left(), name);
        press(Qt::Key_Return);
    }
    void restart()
    {
        finishTestDialogs();
        m_controller.reset();
        startProgram();
        waitForJobs();
    }
    PanelTabRow* rowOf(PanelViewController& panel) { return panel.view()->findChild<PanelTabRow*>(); }
    std::vector<std::string> titles() { return rowOf(left())->titles(); }
    std::string folder() { return active().state().location().path(); }
    using Names = std::unordered_set<std::string>;
    Names marks() { return active().state().markedNames(); }

    const std::string m_one = m_home.folder("one");
    const std::string m_two = m_one + "/two";
    const std::string m_long = m_one + "/long-folder-name-that-is-cut";
};

} // namespace

// Each tab keeps its own folder, cursor and marks, the marks only in the folder they were made in;
// the row of titles shows only with two tabs or more and follows the shown tab; Ctrl+W closes to
// the next and the last one stays.
TEST_F(TabCommandsTest, TabsKeepTheirFoldersAndMarksAndTheLastOneStays)
{
    EXPECT_TRUE(rowOf(left())->isHidden());
    const int listTop = left().tableView()->y();
    putCursorOn(left(), "a.txt");
    press(Qt::Key_Space);
    control(Qt::Key_T);
    EXPECT_FALSE(rowOf(left())->isHidden());
    EXPECT_EQ(left().tableView()->y(), listTop + PanelTabRow::rowHeight) << "the row takes room of its own";
    EXPECT_TRUE(rowOf(right())->isHidden());
    EXPECT_EQ(folder(), m_one);
    EXPECT_TRUE(marks().empty()) << "a new tab starts without marks";
    enter("two");
    EXPECT_EQ(titles(), (std::vector<std::string> { "one", "two" })) << "the title follows the tab";
    EXPECT_EQ(rowOf(left())->shownIndex(), 1u);
    EXPECT_TRUE(marks().empty()) << "the other tab's marks name a file here too";

    control(Qt::Key_PageUp);
    EXPECT_EQ(folder(), m_one);
    EXPECT_EQ(marks(), Names { "a.txt" });
    EXPECT_EQ(rowOf(left())->shownIndex(), 0u);
    control(Qt::Key_PageUp); // round to the last
    EXPECT_EQ(folder(), m_two);
    EXPECT_TRUE(marks().empty());
    // Two switches before the first one's listing arrives: the rows shown are still this tab's.
    QTest::keyClick(active().tableView(), Qt::Key_PageDown, Qt::ControlModifier);
    QTest::keyClick(active().tableView(), Qt::Key_PageDown, Qt::ControlModifier);
    waitForJobs();
    EXPECT_EQ(folder(), m_two);
    control(Qt::Key_PageDown);
    EXPECT_EQ(folder(), m_one);
    EXPECT_EQ(marks(), Names { "a.txt" });

    control(Qt::Key_W);
    EXPECT_EQ(folder(), m_two);
    EXPECT_TRUE(rowOf(left())->isHidden());
    EXPECT_EQ(left().tableView()->y(), listTop);
    control(Qt::Key_W); // the last tab stays
    EXPECT_EQ(folder(), m_two);
    control(Qt::Key_PageDown);
    EXPECT_EQ(folder(), m_two);
}

// Only the shown tab's folder is watched: a change in a hidden tab's folder is read when the tab is
// shown, and the Left menu lists the tabs and shows the one chosen.
TEST_F(TabCommandsTest, OnlyTheShownTabIsWatchedAndTheMenuListsTheTabs)
{
    FolderWatcher* watcher = left().findChild<FolderWatcher*>();
    ASSERT_NE(watcher, nullptr);
    control(Qt::Key_T);
    enter("two");
    EXPECT_EQ(watcher->folders().join(u':').toStdString(), m_two);
    m_home.write("one/new.txt", "n");
    control(Qt::Key_PageUp);
    EXPECT_TRUE(lists(left(), "new.txt")) << "a hidden tab is listed again when shown";
    EXPECT_EQ(watcher->folders().join(u':').toStdString(), m_one);

    QTest::mouseClick(root().menuBar(), Qt::LeftButton, {}, root().menuBar()->itemFrames().at(0).center().toPoint());
    ASSERT_NE(RetroMenuSession::current(), nullptr);
    const auto rows = RetroMenuSession::current()->panel()->menuView()->rows();
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows.back().item.title.trimmed(), QStringLiteral("2 two"));
    EXPECT_TRUE(rows[rows.size() - 2].item.title.endsWith(QStringLiteral("1 one")));
    QTest::keyClick(RetroMenuSession::current()->panel()->menuView(), Qt::Key_2);
    waitForJobs();
    EXPECT_EQ(folder(), m_two);
    EXPECT_EQ(rowOf(left())->shownIndex(), 1u);
}

// Tabs and the shown one come back after a restart. A tab whose folder went, at the start or while
// hidden, stands on the nearest folder still there once shown, without the marks it had (they name
// rows of another folder); nothing is made on the disk for it.
TEST_F(TabCommandsTest, TabsComeBackAfterARestartOnFoldersStillThere)
{
    control(Qt::Key_T);
    enter("two");
    control(Qt::Key_T);
    enter("..");
    enter("long-folder-name-that-is-cut");
    std::filesystem::remove_all(m_long);
    restart();
    EXPECT_EQ(folder(), m_one) << "the shown tab's folder went";
    EXPECT_EQ(rowOf(left())->shownIndex(), 2u);
    EXPECT_EQ(titles(), (std::vector<std::string> { "one", "two", "one" }));
    control(Qt::Key_PageUp);
    EXPECT_EQ(folder(), m_two);
    putCursorOn(left(), "a.txt");
    press(Qt::Key_Space);
    control(Qt::Key_PageDown);
    std::filesystem::remove_all(m_two);
    control(Qt::Key_PageUp);
    EXPECT_EQ(folder(), m_one) << "a hidden tab's folder went";
    EXPECT_TRUE(marks().empty()) << "the gone folder's marks on this folder's a.txt";
    EXPECT_FALSE(std::filesystem::exists(m_two));
    EXPECT_FALSE(std::filesystem::exists(m_long));

    // A tab left inside an archive comes back on the archive's folder, without the archive's marks.
    m_home.run("cd one && zip -q pack.zip a.txt");
    control(Qt::Key_R);
    enter("pack.zip");
    putCursorOn(left(), "a.txt");
    press(Qt::Key_Space);
    control(Qt::Key_PageDown);
    control(Qt::Key_PageUp);
    EXPECT_EQ(folder(), m_one);
    EXPECT_TRUE(marks().empty()) << "the archive's marks on this folder's a.txt";
}

// With more tabs than the row holds, the titles before the shown one give way so that it stays in
// sight; those after it are cut off at the edge.
TEST(PanelTabRowTest, TheShownTitleStaysInSight)
{
    PanelTabRow row;
    const std::string name = "long-folder-name-that-is-cut"; // takes the most cells a title may
    row.setTitles({ name, name, name, name }, 2);
    EXPECT_EQ(row.firstInSight(200), 0u);
    EXPECT_EQ(row.firstInSight(1 + 3 * (PanelTabRow::titleCells + 1)), 0u);
    EXPECT_EQ(row.firstInSight(3 * (PanelTabRow::titleCells + 1)), 1u);
    EXPECT_EQ(row.firstInSight(10), 2u) << "too narrow even for the shown one: it comes first";
    row.setTitles({ name }, 0);
    EXPECT_EQ(row.firstInSight(10), 0u);
}
