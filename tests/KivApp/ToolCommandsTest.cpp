#include "CommandLineBar.h"
#include "CommandLineField.h"
#include "ConsoleOutputView.h"
#include "DialogDriver.h"
#include "MainRootView.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "PanelEditorView.h"
#include "PanelTableView.h"
#include "PanelViewController.h"
#include "ProgramTest.h"
#include "PulldownMenuBarView.h"
#include "RetroDialogView.h"
#include "RetroDialogWindow.h"
#include "RetroLabel.h"
#include "RetroMenuPanel.h"
#include "RetroMenuSession.h"
#include "RetroMenuView.h"
#include "TempDir.h"

#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

using namespace kiv;
using kiv::test::TempDir;

namespace {

// The title and text of a dialog that was answered.
struct ShownDialog
{
    QString title;
    QString text;
};

// Answers the next modal dialog with Return once its title and text are recorded.
std::shared_ptr<ShownDialog> acknowledgeNextDialog()
{
    auto shown = std::make_shared<ShownDialog>();
    kiv::test::answerNextModal([shown](QWidget* modal) {
        if (auto* window = qobject_cast<RetroDialogWindow*>(modal))
            *shown = { window->dialogView()->titleText(), window->dialogView()->messageText() };
        QTest::keyClick(kiv::test::keyTarget(modal), Qt::Key_Return);
    });
    return shown;
}

// The program's window over a home folder of its own; the tests drive it by keys and clicks.
class ToolCommandsTest : public kiv::test::ProgramTest
{
protected:
    void SetUp() override
    {
        m_docs = m_home.folder("docs");
        startProgram();
    }

    CommandLineField& field() { return *root().commandLine()->field(); }
    ConsoleOutputView* console() { return m_controller->consoleOutputView(); }

    static void putCursorOn(PanelViewController& panel, const std::string& name)
    {
        const auto& rows = panel.state().entries();
        const auto row
            = std::find_if(rows.begin(), rows.end(), [&](const FileEntry& e) { return e.name == name; });
        ASSERT_NE(row, rows.end()) << name;
        panel.tableView()->moveSelection(int(row - rows.begin()));
    }
    void typeCommandLine(const QString& line)
    {
        m_controller->focusCommandLine();
        QTest::keyClicks(&field(), line);
        QTest::keyClick(&field(), Qt::Key_Return);
    }
    QString transcript()
    {
        auto* text = console() ? console()->findChild<QPlainTextEdit*>() : nullptr;
        return text ? text->toPlainText() : QString();
    }
    // Presses a key on the console and waits until it is gone for good.
    void closeConsoleWith(Qt::Key key)
    {
        ASSERT_NE(console(), nullptr);
        QTest::keyClick(console(), key);
        EXPECT_EQ(console(), nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return root().overlay() == nullptr; }));
    }
    void openPulldown(int index)
    {
        const QRectF title = root().menuBar()->itemFrames().at(index);
        QTest::mouseClick(root().menuBar(), Qt::LeftButton, {}, title.center().toPoint());
    }
    static RetroMenuView& openMenu() { return *RetroMenuSession::current()->panel()->menuView(); }
    // Chooses selectable entry `row` (counted from 0) of the open menu by keys.
    static void choose(int row)
    {
        ASSERT_NE(RetroMenuSession::current(), nullptr);
        for (int step = 0; step <= row; ++step)
            QTest::keyClick(&openMenu(), Qt::Key_Down);
        QTest::keyClick(&openMenu(), Qt::Key_Return);
    }
    static QStringList openMenuTitles()
    {
        QStringList titles;
        for (const RetroMenuView::Row& row : openMenu().rows())
            titles << (row.item.isSeparator ? QStringLiteral("---") : row.item.title);
        return titles;
    }
    std::string makeZip(const std::string& folder, const std::string& name, const std::string& members)
    {
        const std::string command = "cd '" + folder + "' && zip -qr '" + name + "' " + members;
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return folder + "/" + name;
    }

    std::string m_docs;
};

} // namespace

TEST_F(ToolCommandsTest, CommandLineRunsInTheActiveFolderRelistsBothPanelsAndAnEmptyOneOnlyRefocuses)
{
    showFolder(left(), m_docs);
    QTest::keyClick(left().tableView(), Qt::Key_Tab); // the right panel, on home, is active
    typeCommandLine("");
    EXPECT_EQ(console(), nullptr);
    EXPECT_TRUE(right().tableView()->hasFocus());

    typeCommandLine("touch docs/made.txt && echo done");

    ASSERT_NE(console(), nullptr);
    EXPECT_EQ(root().overlay(), console());
    EXPECT_EQ(console()->geometry(), root().rect());
    EXPECT_TRUE(console()->hasFocus());
    EXPECT_EQ(transcript(),
        QString::fromStdString(m_home.path()) + " $ touch docs/made.txt && echo done\n\ndone\n");
    EXPECT_EQ(field().text(), "");
    EXPECT_TRUE(lists(left(), "made.txt"));

    // The key that closes the console does nothing else: Space marks nothing in the panel.
    closeConsoleWith(Qt::Key_Space);
    EXPECT_TRUE(right().tableView()->hasFocus());
    EXPECT_EQ(&m_controller->activePanel(), &right());
    EXPECT_TRUE(right().state().markedNames().empty());
    EXPECT_TRUE(lists(left(), "made.txt"));
    EXPECT_EQ(field().text(), "");
}

TEST_F(ToolCommandsTest, InsideAnArchiveACommandRunsInTheFolderHoldingItAndFunctionKeysOnlyCloseTheConsole)
{
    m_home.write("docs/inner/member.txt", "m");
    makeZip(m_docs, "pack.zip", "inner");
    showFolder(left(), m_docs);
    putCursorOn(left(), "pack.zip");
    QTest::keyClick(left().tableView(), Qt::Key_Return);
    ASSERT_TRUE(left().state().location().isArchive());
    EXPECT_EQ(root().commandLine()->promptLabel()->text(), QString::fromStdString(m_docs) + " $ ");

    typeCommandLine("pwd; echo oops >&2; exit 3");
    EXPECT_EQ(transcript(),
        QString::fromStdString(
            m_docs + " $ pwd; echo oops >&2; exit 3\n\n" + m_docs + "\noops\n\n[exit code 3]\n"));

    // F9 would open the pulldown menu; with the console shown it only closes the console.
    QTest::keyClick(console(), Qt::Key_F9);
    EXPECT_EQ(console(), nullptr);
    EXPECT_EQ(RetroMenuSession::current(), nullptr);
    EXPECT_TRUE(left().tableView()->hasFocus());
    QTest::keyClick(left().tableView(), Qt::Key_F9);
    EXPECT_NE(RetroMenuSession::current(), nullptr);
}

TEST_F(ToolCommandsTest, TheUserMenuIsReadAfreshOnEveryF2AndHangsFromItsCorner)
{
    const std::string comments = "# nothing but comments\n\n   # and an indented one\n";
    const std::string menuFile = m_home.write(".config/kiv-mac/menu.txt", comments);
    m_controller->window().resize(700, 400);
    ASSERT_TRUE(QTest::qWaitFor([&] { return root().height() == 400; }));

    QTest::keyClick(left().tableView(), Qt::Key_F2);
    ASSERT_NE(RetroMenuSession::current(), nullptr);
    EXPECT_EQ(openMenuTitles(),
        QStringList({ "1  List files by size", "2  Show disk usage here", "3  Git status",
            "4  Open Terminal here", "---", "Edit menu file..." }));
    EXPECT_EQ(RetroMenuSession::current()->panel()->pos(), root().mapToGlobal(QPoint(20, 400 - 60)));
    EXPECT_EQ(kiv::test::readFile(menuFile), comments);
    QTest::keyClick(&openMenu(), Qt::Key_Escape);

    // An entry runs unchanged in the active folder; its failure shows only in the console.
    m_home.write(".config/kiv-mac/menu.txt", "e|Fail loudly|echo oops >&2; exit 2\n");
    QTest::keyClick(left().tableView(), Qt::Key_F2);
    EXPECT_EQ(openMenuTitles(), QStringList({ "e  Fail loudly", "---", "Edit menu file..." }));
    choose(0);
    EXPECT_EQ(transcript(),
        QString::fromStdString(m_home.path()) + " $ echo oops >&2; exit 2\n\noops\n\n[exit code 2]\n");
    closeConsoleWith(Qt::Key_Escape);

    QTest::keyClick(left().tableView(), Qt::Key_F2);
    choose(1); // "Edit menu file..."
    ASSERT_NE(right().editorView(), nullptr);
    auto* editor = right().editorView()->findChild<QPlainTextEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->toPlainText(), "e|Fail loudly|echo oops >&2; exit 2\n");
    EXPECT_EQ(&m_controller->activePanel(), &left());
}

TEST_F(ToolCommandsTest, ExtractPutsTheWholeArchiveIntoTheOtherPanelAndNeverReplacesAFile)
{
    m_home.write("src/a.txt", "archived a");
    m_home.write("src/c.txt", "archived c");
    makeZip(m_home / "src", "pack.zip", "a.txt c.txt");
    const std::string out = m_home.folder("out");
    showFolder(left(), m_home / "src");
    showFolder(right(), out);

    auto refusal = acknowledgeNextDialog();
    putCursorOn(left(), "..");
    openPulldown(1); // "Files"
    choose(4); // "Extract Archive to Other Panel"
    EXPECT_EQ(refusal->title, "Extract Archive");
    EXPECT_EQ(refusal->text, "Select a .zip/.tar/.tar.gz/.tgz file first.");

    putCursorOn(left(), "pack.zip");
    openPulldown(1);
    choose(4);
    EXPECT_EQ(kiv::test::readFile(out + "/a.txt"), "archived a");
    EXPECT_TRUE(lists(right(), "a.txt"));
    EXPECT_TRUE(lists(right(), "c.txt"));

    // Again after the user changed one file and removed the other: the change survives, the
    // missing file comes back and the panel shows it, and the error names the file in the way.
    m_home.write("out/a.txt", "mine");
    std::filesystem::remove(out + "/c.txt");
    right().reload();
    auto error = acknowledgeNextDialog();
    openPulldown(1);
    choose(4);
    EXPECT_EQ(error->title, "Error");
    EXPECT_EQ(error->text, QString::fromStdString("Already exists: " + out + "/a.txt"));
    EXPECT_EQ(kiv::test::readFile(out + "/a.txt"), "mine");
    EXPECT_EQ(kiv::test::readFile(out + "/c.txt"), "archived c");
    EXPECT_TRUE(lists(right(), "c.txt"));
}

TEST_F(ToolCommandsTest, ExtractExplainsWhyItCannotWorkFromOrIntoAnArchive)
{
    m_home.write("src/a.txt", "a");
    makeZip(m_home / "src", "pack.zip", "a.txt");
    makeZip(m_home / "src", "outer.zip", "pack.zip");
    showFolder(left(), m_home / "src");
    showFolder(right(), m_home / "src");
    putCursorOn(right(), "pack.zip");
    QTest::keyClick(right().tableView(), Qt::Key_Return);
    left().tableView()->setFocus();

    auto intoArchive = acknowledgeNextDialog();
    putCursorOn(left(), "pack.zip");
    m_controller->menuExtractArchive();
    EXPECT_EQ(intoArchive->text, "The other panel needs to be on a real folder.");

    putCursorOn(left(), "outer.zip");
    QTest::keyClick(left().tableView(), Qt::Key_Return);
    putCursorOn(left(), "pack.zip");
    auto nested = acknowledgeNextDialog();
    m_controller->menuExtractArchive();
    EXPECT_EQ(nested->title, "Extract Archive");
    EXPECT_EQ(
        nested->text, "An archive inside an archive can't be extracted here. Copy it out with F5 first.");
}

TEST_F(ToolCommandsTest, CompareMarksOnlyWhatDiffersOnDiskNowAndReplacesEarlierMarks)
{
    using namespace std::chrono_literals;
    const auto stamp = std::filesystem::file_time_type::clock::now() - 1h;
    for (const std::string side : { "a", "b" }) {
        for (const std::string name : { "same.txt", "differs.txt", "late.txt" })
            std::filesystem::last_write_time(m_home.write(side + "/" + name, "12345"), stamp);
    }
    std::filesystem::last_write_time(m_home.write("a/only-left.txt", "x"), stamp);
    std::filesystem::last_write_time(m_home / "b/late.txt", stamp + 1500ms);
    m_home.folder("b/folder-right");
    showFolder(left(), m_home / "a");
    showFolder(right(), m_home / "b");
    QTest::keyClick(left().tableView(), Qt::Key_Tab);
    putCursorOn(right(), "same.txt");
    QTest::keyClick(right().tableView(), Qt::Key_Space);
    ASSERT_EQ(right().state().markedNames().size(), 1u);
    // Changed after both panels were listed: the comparison must see it all the same.
    std::filesystem::last_write_time(m_home.write("a/differs.txt", "123456"), stamp);

    auto report = acknowledgeNextDialog();
    openPulldown(1); // "Files"
    choose(5); // "Compare Directories"
    EXPECT_EQ(report->title, "Compare Directories");
    EXPECT_EQ(report->text, "2 item(s) marked on the left, 1 on the right.");
    using Names = std::unordered_set<std::string>;
    EXPECT_EQ(left().state().markedNames(), Names({ "differs.txt", "only-left.txt" }));
    EXPECT_EQ(right().state().markedNames(), Names({ "differs.txt" }));
}

TEST_F(ToolCommandsTest, HelpAndAboutAreMessagesInTheMainWindow)
{
    auto help = acknowledgeNextDialog();
    QTest::keyClick(left().tableView(), Qt::Key_F1);
    EXPECT_EQ(help->title, "Tavrin - Help");
    const QStringList lines = help->text.split('\n');
    ASSERT_EQ(lines.size(), 13);
    EXPECT_TRUE(lines[0].startsWith("F1  Help            F2  User Menu"));
    EXPECT_TRUE(lines[4].isEmpty() && lines[10].isEmpty());
    EXPECT_EQ(lines[8], "Delete/Backspace  Go to parent directory (\"..\")");

    auto about = acknowledgeNextDialog();
    openPulldown(3); // "Options"
    choose(1); // "About Tavrin"
    EXPECT_EQ(about->title, "Tavrin");
    EXPECT_TRUE(about->text.contains("dual-pane file manager"));
}
