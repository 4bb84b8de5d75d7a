#include "ProgramTest.h"
#include "WidgetProbe.h"
#include "commands/ComparisonCommands.h"
#include "comparescreen/CompareView.h"
#include "comparescreen/CompareWindowController.h"
#include "jobscreen/JobRunner.h"
#include "syncscreen/SyncDialog.h"
#include "toolkit/RetroChoiceView.h"
#include "toolkit/RetroDialogView.h"
#include "toolkit/Theme.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTimer>
#include <chrono>

using namespace kiv;
using namespace kiv::test;
using namespace std::chrono_literals;

namespace {

// The left panel on "left", the right one on "right".
class ComparisonCommandsTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        m_home.folder("left");
        m_home.folder("right");
        fill();
        startProgram();
        left().goTo(m_left);
        right().goTo(m_right);
        waitForJobs();
    }

    virtual void fill() { }

    // Answers the next message or question with Return, keeping its text in `text`.
    static void returnTo(QString& text)
    {
        onDialog<RetroDialogView>([&text](RetroDialogView& face) {
            text = face.messageText();
            QTest::keyClick(face.window()->focusWidget(), Qt::Key_Return);
        });
    }

    const std::string m_left = m_home.path() + "/left";
    const std::string m_right = m_home.path() + "/right";
};

std::string numbered(int count, std::initializer_list<int> changed)
{
    std::string text;
    for (int line = 1; line <= count; ++line)
        text += std::to_string(line) + (std::find(changed.begin(), changed.end(), line) != changed.end() ? "x" : "")
            + "\n";
    return text;
}

// Both folders hold a.txt, the left one newer; x.txt is only on the left, y.txt only on the right.
class SynchronizeTest : public ComparisonCommandsTest
{
protected:
    void fill() override
    {
        const auto now = std::filesystem::file_time_type::clock::now();
        std::filesystem::last_write_time(m_home.write("left/a.txt", "new a"), now);
        std::filesystem::last_write_time(m_home.write("right/a.txt", "old"), now - 100s);
        m_home.write("left/x.txt", "x");
        m_home.write("right/y.txt", "y");
    }

    bool exists(const std::string& relative) const { return std::filesystem::exists(m_home / relative); }
};

} // namespace

TEST_F(ComparisonCommandsTest, TwoFilesSideBySideTheirDifferingLinesMarkedAndF7GoesFromOneToTheNext)
{
    m_home.write("left/one.txt", numbered(30, {}));
    m_home.write("right/two.txt", numbered(30, { 5, 20 }));
    left().reload();
    right().reload();
    waitForJobs();
    putCursorOn(left(), "one.txt");
    putCursorOn(right(), "two.txt");
    QTest::keyClick(active().tableView(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    waitForJobs();
    CompareWindowController* compare = m_controller->comparisonCommands().findChild<CompareWindowController*>();
    ASSERT_NE(compare, nullptr) << "no comparison window";
    CompareView* view = compare->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(compare->window()));
    EXPECT_EQ(compare->window()->windowTitle(), "Compare: one.txt | two.txt");

    const QImage drawn = view->viewport()->grab().toImage();
    const auto rowBand = [&](int row) { return QRect(0, row * view->fontMetrics().lineSpacing(), drawn.width(), 4); };
    EXPECT_GT(pixelsOf(drawn, Theme::panelMarked(), rowBand(4)), 0) << "a differing line is not marked";
    EXPECT_EQ(pixelsOf(drawn, Theme::panelMarked(), rowBand(3)), 0) << "a line alike is marked";

    std::vector<std::optional<std::size_t>> visited;
    for (const auto modifiers : { Qt::NoModifier, Qt::NoModifier, Qt::NoModifier, Qt::ShiftModifier }) {
        QTest::keyClick(view, Qt::Key_F7, modifiers);
        visited.push_back(view->currentDifference());
    }
    EXPECT_EQ(visited, (std::vector<std::optional<std::size_t>> { 4, 19, 19, 4 }));
    EXPECT_TRUE(compare->statusText().contains("2 difference(s)   at 1")) << compare->statusText().toStdString();

    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return !m_controller->comparisonCommands().findChild<CompareWindowController*>();
    }));
}

TEST_F(ComparisonCommandsTest, TwoMarkedFilesAreComparedAndAnythingElseIsRefusedWithWhy)
{
    m_home.write("left/one.txt", "same\n");
    m_home.write("left/two.txt", "same\n");
    m_home.folder("right/box");
    left().reload();
    right().reload();
    waitForJobs();
    putCursorOn(right(), "box");
    QString refusal;
    returnTo(refusal);
    QTest::keyClick(active().tableView(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(refusal, "Put the cursor on a file in each panel, or mark two files in one.");

    left().setMarks({ "one.txt", "two.txt" });
    QTest::keyClick(active().tableView(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    waitForJobs();
    auto* compare = m_controller->comparisonCommands().findChild<CompareWindowController*>();
    ASSERT_NE(compare, nullptr);
    EXPECT_TRUE(compare->statusText().contains("The files are the same")) << compare->statusText().toStdString();
    compare->window()->close();
}

TEST_F(SynchronizeTest, TheDefaultsCopyTheNewerAndTheMissingDeleteNothingAndOneUndoPutsAllBack)
{
    QString how;
    QStringList listed;
    returnTo(how);
    onDialog<SyncDialog>([&listed](SyncDialog& dialog) {
        listed = dialog.face()->lines();
        QTest::keyClick(dialog.face(), Qt::Key_Return);
    });
    QTest::keyClick(active().tableView(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !listed.isEmpty() && m_controller->jobs().isIdle(); }));
    waitForJobs();
    EXPECT_TRUE(how.contains("by size and time")) << how.toStdString();
    EXPECT_EQ(listed.filter(QRegularExpression("^ →  a.txt .*left newer: copy to the right$")).size(), 1)
        << listed.join('\n').toStdString();
    EXPECT_EQ(listed.filter(QRegularExpression("^ →  x.txt .*only left")).size(), 1);
    EXPECT_EQ(listed.filter(QRegularExpression("^ ←  y.txt .*only right")).size(), 1);
    EXPECT_EQ(std::tuple(readFile(m_right + "/a.txt"), readFile(m_right + "/x.txt"), readFile(m_left + "/y.txt"),
                  readFile(m_left + "/x.txt")),
        std::tuple("new a", "x", "y", "x"));

    QTest::keyClick(left().tableView(), Qt::Key_Z, Qt::ControlModifier);
    waitForJobs();
    EXPECT_EQ(readFile(m_right + "/a.txt"), "old");
    EXPECT_FALSE(exists("right/x.txt"));
    EXPECT_FALSE(exists("left/y.txt"));
    EXPECT_TRUE(exists("left/x.txt") && exists("right/y.txt") && exists("left/a.txt"));
}

TEST_F(SynchronizeTest, ChoicesMadeInTheListAreCarriedOutAndATargetChangedMeanwhileIsLeftAsItIs)
{
    QString how;
    QString ended;
    returnTo(how);
    onDialog<SyncDialog>([this](SyncDialog& dialog) {
        RetroChoiceView* face = dialog.face();
        // a.txt back from the right, x.txt deleted, y.txt skipped: the list is in path order.
        for (const Qt::Key key : { Qt::Key_Left, Qt::Key_Down, Qt::Key_Delete, Qt::Key_Down, Qt::Key_S })
            QTest::keyClick(face, key);
        EXPECT_TRUE(face->lines().join('\n').contains("1 deletion(s), 1 skipped"));
        // Someone writes to a.txt while the user chooses: it must not be overwritten unseen.
        m_home.write("left/a.txt", "edited meanwhile");
        QTest::keyClick(face, Qt::Key_Return);
    });
    returnTo(ended);
    QTest::keyClick(active().tableView(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ended.isEmpty(); }));
    waitForJobs();
    EXPECT_EQ(readFile(m_left + "/a.txt"), "edited meanwhile");
    EXPECT_TRUE(ended.contains("changed since the comparison")) << ended.toStdString();
    EXPECT_FALSE(exists("left/x.txt"));
    EXPECT_FALSE(exists("left/y.txt"));
    EXPECT_EQ(readFile(m_right + "/a.txt"), "old");
}
