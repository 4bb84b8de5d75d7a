#include "ProgramTest.h"
#include "findscreen/FindHitsDialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

using namespace kiv;
using namespace kiv::test;

namespace {

// The left panel on "src", the right panel on "dst".
class SearchCommandsTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        for (auto [path, text] : { std::pair { "a.txt", "alpha" }, { "b.md", "beta" },
                 { "box/inside.txt", "inside" }, { "box/deeper/far.txt", "far away" } })
            m_home.write("src/" + std::string(path), text);
        m_home.folder("src/empty");
        startProgram();
        left().goTo(m_src);
        right().goTo(m_src);
        waitForJobs();
    }

    const FileEntry& row(PanelViewController& panel, const std::string& name)
    {
        return panel.state().entries().at(std::size_t(rowOf(panel, name)));
    }

    // Finds `patterns` below the active folder with Alt+F7 and, once the search has ended, puts its
    // hits in the panel. Keys reach the dialogs from the event loop, not from the answer, so the
    // prompt the query dialog opens is answered in its turn.
    void findIntoPanel(const std::string& patterns)
    {
        const auto later = [](std::function<void(QWidget*)> act) {
            return [act](QWidget* modal) { QTimer::singleShot(0, modal, [act, modal] { act(modal); }); };
        };
        const auto key = [](Qt::Key pressed) {
            return [pressed](QWidget* modal) { QTest::keyClick(modal->focusWidget(), pressed); };
        };
        answerNextModal(later(key(Qt::Key_N)));
        answerNextModal(later([patterns](QWidget* prompt) {
            auto* field = prompt->findChild<QLineEdit*>();
            field->setText(QString::fromStdString(patterns));
            QTest::keyClick(field, Qt::Key_Return);
        }));
        answerNextModal(later(key(Qt::Key_Return)));
        answerNextModal(later([](QWidget* modal) {
            auto* hits = qobject_cast<FindHitsDialog*>(modal);
            EXPECT_TRUE(hits && QTest::qWaitFor([hits] { return hits->hasEnded(); }));
            QTest::keyClick(modal->focusWidget(), Qt::Key_P);
        }));
        QTest::keyClick(active().tableView(), Qt::Key_F7, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return active().state().location().isFound(); }));
    }

    const std::string m_src = m_home.folder("src");
    const std::string m_dst = m_home.folder("dst");
};

} // namespace

TEST_F(SearchCommandsTest, CtrlSpaceShowsTheTreeSizeOfTheFoldersInBothPanelsAndTheMarkedTotal)
{
    putCursorOn(left(), "box");
    QTest::keyClick(left().tableView(), Qt::Key_Space, Qt::ControlModifier);
    waitForJobs();
    EXPECT_TRUE(QTest::qWaitFor([&] { return row(left(), "box").sizeMeasured; }));
    EXPECT_EQ(row(left(), "box").size, 14);
    EXPECT_EQ(row(right(), "box").size, 14);
    EXPECT_FALSE(row(left(), "empty").sizeMeasured);

    press({ Qt::Key_Insert, Qt::Key_Insert }); // box and empty
    putCursorOn(left(), "a.txt");
    press(Qt::Key_Insert);
    EXPECT_EQ(left().state().totalMarkedSize(), 19);
}

TEST_F(SearchCommandsTest, HitsInThePanelAreCopiedMovedAndDeletedWhereTheyLieAndBackspaceLeadsBack)
{
    right().goTo(m_dst);
    waitForJobs();
    findIntoPanel("*.txt");
    EXPECT_TRUE(lists(left(), "a.txt"));
    EXPECT_TRUE(lists(left(), "box/inside.txt"));
    EXPECT_TRUE(lists(left(), "box/deeper/far.txt"));
    EXPECT_FALSE(lists(left(), "b.md"));

    putCursorOn(left(), "box/deeper/far.txt");
    press(Qt::Key_Space);
    putCursorOn(left(), "a.txt");
    press({ Qt::Key_Space, Qt::Key_F5 }, { ok });
    EXPECT_EQ(readFile(m_home / "dst/far.txt"), "far away");
    EXPECT_EQ(readFile(m_home / "dst/a.txt"), "alpha");

    putCursorOn(left(), "box/inside.txt");
    press(Qt::Key_F6, { ok }); // offered: the other panel's folder and the item's own name
    EXPECT_EQ(readFile(m_home / "dst/inside.txt"), "inside");

    putCursorOn(left(), "box/deeper/far.txt");
    press(Qt::Key_F8, { ok });
    EXPECT_FALSE(std::filesystem::exists(m_home / "src/box/deeper/far.txt"));
    EXPECT_TRUE(std::filesystem::exists(m_home / "src/box/deeper"));
    EXPECT_FALSE(lists(left(), "box/deeper/far.txt"));
    EXPECT_TRUE(lists(left(), "a.txt"));

    press(Qt::Key_Backspace);
    EXPECT_EQ(left().state().location(), PanelLocation::filesystem(m_src));
}
