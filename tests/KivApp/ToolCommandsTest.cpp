#include "ProgramTest.h"
#include "TerminalText.h"
#include "commands/ShellCommands.h"
#include "console/CommandLineBar.h"
#include "console/CommandLineField.h"
#include "console/ConsoleView.h"
#include "terminal/TerminalSession.h"
#include "toolkit/RetroDialogView.h"
#include "toolkit/RetroLabel.h"
#include "toolkit/RetroMenuPanel.h"
#include "toolkit/RetroMenuSession.h"
#include "toolkit/RetroMenuView.h"
#include "viewer/PanelEditorView.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <chrono>
#include <set>

using namespace kiv;
using namespace kiv::test;

namespace {

// The program's window over a home folder of its own; the tests drive it by keys and clicks.
class ToolCommandsTest : public ProgramTest
{
protected:
    void SetUp() override { startProgram(); }

    ConsoleView* console() { return m_controller->shellCommands().console(); }
    void startCommandLine(const QString& line)
    {
        CommandLineField* field = root().commandLine()->field();
        field->setFocus();
        QTest::keyClicks(field, line);
        QTest::keyClick(field, Qt::Key_Return);
    }
    // Waits up to `milliseconds` for the shown console's command to end; true when it has.
    bool commandEnds(int milliseconds = 10'000)
    {
        return console() && QTest::qWaitFor([&] { return !console()->isRunning(); }, milliseconds);
    }
    // Runs `line` from the command line and waits for its end, when it starts a command.
    void typeCommandLine(const QString& line)
    {
        startCommandLine(line);
        if (console()) {
            ASSERT_TRUE(commandEnds());
        }
        waitForJobs();
    }
    void pressCtrlC() { QTest::keyClick(console(), Qt::Key_C, Qt::ControlModifier); }
    // The console's screen as text: its rows without trailing blanks.
    std::string transcript()
    {
        TerminalSnapshot snapshot;
        console()->session().copyView(0, 0, snapshot);
        return terminalText(snapshot);
    }
    // Waits until the console's screen shows `text`.
    bool shows(const std::string& text)
    {
        return QTest::qWaitFor([&] { return transcript().find(text) != std::string::npos; }, 10'000);
    }
    // Presses a key on the console and waits until it is gone for good.
    void closeConsoleWith(Qt::Key key)
    {
        QTest::keyClick(console(), key);
        EXPECT_EQ(console(), nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return root().overlay() == nullptr; }));
    }
    static QStringList openMenuTitles()
    {
        QStringList titles;
        for (const RetroMenuView::Row& row : RetroMenuSession::current()->panel()->menuView()->rows())
            titles << (row.item.isSeparator ? QStringLiteral("---") : row.item.title);
        return titles;
    }
    // Chooses "Extract Archive to Other Panel" in the "Files" pulldown, answering its dialogs.
    ShownDialogs extract(std::vector<Answer> answers = {})
    {
        ShownDialogs shown = answering(std::move(answers), [&] { chooseFromPulldown(1, 5); });
        waitForJobs();
        return shown;
    }

    const std::string m_docs = m_home.folder("docs");
};

} // namespace

TEST_F(ToolCommandsTest, CommandLinesRunInTheActiveFolderOrTheOneHoldingItsArchiveAndTheConsoleOnlyCloses)
{
    m_home.write("docs/inner/member.txt", "m");
    m_home.run("cd docs && zip -qr pack.zip inner");
    left().goTo(m_docs);
    waitForJobs();
    press(Qt::Key_Tab); // the right panel, on home, is active
    typeCommandLine("");
    EXPECT_EQ(console(), nullptr) << "an empty line runs nothing";
    typeCommandLine("touch docs/made.txt && echo done");
    ASSERT_NE(console(), nullptr);
    EXPECT_TRUE(console()->hasFocus());
    EXPECT_EQ(transcript(), m_home.path() + " $ touch docs/made.txt && echo done\ndone");
    EXPECT_EQ(root().commandLine()->field()->text(), "");
    EXPECT_TRUE(lists(left(), "made.txt"));
    // The key that closes the console does nothing else: Space marks nothing in the panel.
    closeConsoleWith(Qt::Key_Space);
    EXPECT_TRUE(right().tableView()->hasFocus());
    EXPECT_TRUE(right().state().markedNames().empty());

    // Inside an archive a command runs in the folder holding it. F9 would open the pulldown menu;
    // with the console shown it only closes the console.
    press(Qt::Key_Tab);
    putCursorOn(left(), "pack.zip");
    press(Qt::Key_Return);
    ASSERT_TRUE(left().state().location().isArchive());
    typeCommandLine("pwd");
    ASSERT_NE(console(), nullptr);
    EXPECT_EQ(transcript(), m_docs + " $ pwd\n" + m_docs);
    closeConsoleWith(Qt::Key_F9);
    EXPECT_EQ(RetroMenuSession::current(), nullptr);
    EXPECT_TRUE(left().tableView()->hasFocus());
}

TEST_F(ToolCommandsTest, EveryKeyGoesToTheProgramWhileItRunsBothStreamsShowAndCtrlCInterrupts)
{
    typeCommandLine("echo 1; sleep 0.1; echo 2 >&2; sleep 0.1; echo 3");
    EXPECT_EQ(transcript(), m_home.path() + " $ echo 1; sleep 0.1; echo 2 >&2; sleep 0.1; echo 3\n1\n2\n3");
    closeConsoleWith(Qt::Key_Space);

    // F1 and F10 are the program's keys too: the help does not open and Tavrin does not quit.
    startCommandLine("IFS= read -r x; printf %s \"$x\" | od -An -tx1");
    ASSERT_TRUE(shows("od -An -tx1"));
    for (Qt::Key key : { Qt::Key_F1, Qt::Key_F10, Qt::Key_F9, Qt::Key_Tab })
        QTest::keyClick(console(), key);
    EXPECT_EQ(RetroMenuSession::current(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QTest::keyClick(console(), Qt::Key_Return);
    ASSERT_TRUE(commandEnds());
    EXPECT_TRUE(transcript().ends_with(" 1b 4f 50 1b 5b 32 31 7e 1b 5b 32 30 7e 09")) << transcript();
    closeConsoleWith(Qt::Key_Space);

    startCommandLine("sleep 30");
    ASSERT_TRUE(shows("$ sleep 30"));
    pressCtrlC();
    ASSERT_TRUE(commandEnds(2000));
    EXPECT_TRUE(transcript().ends_with("\n[exit code 2]")) << transcript();
    closeConsoleWith(Qt::Key_Space);

    // A command that ignores the interrupt ends on a second Ctrl+C a moment later.
    startCommandLine("trap '' INT; echo ready; sleep 30");
    ASSERT_TRUE(shows("\nready"));
    pressCtrlC();
    EXPECT_FALSE(commandEnds(int(TerminalSession::interruptGrace.count()) + 100));
    pressCtrlC();
    ASSERT_TRUE(commandEnds(2000));
    EXPECT_TRUE(transcript().ends_with("\n[exit code 9]")) << transcript();
    closeConsoleWith(Qt::Key_Space);
}

TEST_F(ToolCommandsTest, TypedLinesReachAnInteractiveProgramAndCtrlOShowsTheLastScreenAgain)
{
    startCommandLine("python3 -q");
    ASSERT_TRUE(shows(">>>")) << transcript();
    QTest::keyClicks(console(), "open('typed.txt', 'w').write(str(6 * 7))");
    QTest::keyClick(console(), Qt::Key_Return);
    ASSERT_TRUE(shows("\n2\n>>>"));

    // Ctrl+O shows the panels while the program goes on; a second command must wait for it.
    QTest::keyClick(console(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(console(), nullptr);
    EXPECT_TRUE(left().tableView()->hasFocus());
    EXPECT_EQ(answering({ ok }, [&] { startCommandLine("true"); }).at(0).title, "Command Running");
    QTest::keyClick(left().tableView(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_NE(console(), nullptr);
    EXPECT_EQ(console()->window()->focusWidget(), console());
    QTest::keyClick(console(), Qt::Key_D, Qt::ControlModifier);
    ASSERT_TRUE(commandEnds());
    waitForJobs();
    EXPECT_EQ(readFile(m_home / "typed.txt"), "42");
    EXPECT_TRUE(lists(left(), "typed.txt")) << "relisted when the command ended";
    closeConsoleWith(Qt::Key_Space);

    // Ended, it shows again with what it printed until any key, Ctrl+O too, closes it.
    QTest::keyClick(left().tableView(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_NE(console(), nullptr);
    EXPECT_TRUE(transcript().find(">>> open('typed.txt', 'w').write(str(6 * 7))\n2\n>>>") != std::string::npos)
        << transcript();
    QTest::keyClick(console(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(console(), nullptr);
}

TEST_F(ToolCommandsTest, CdOnTheCommandLineMovesTheActivePanelAndRefusalsLeaveItWhereItWas)
{
    m_home.folder("docs/My Files");
    const std::pair<QString, std::string> steps[] = {
        { "cd docs", m_docs },
        { "cd 'My Files'", m_docs + "/My Files" },
        { "cd ..", m_docs },
        { "cd -", m_docs + "/My Files" },
        { "cd", m_home.path() },
        { "cd ~/docs/My\\ Files/..", m_docs },
        { "cd /", "/" },
    };
    for (const auto& [line, folder] : steps) {
        startCommandLine(line);
        waitForJobs();
        EXPECT_EQ(std::pair(console() != nullptr, left().state().location().path()), std::pair(false, folder))
            << line.toStdString();
        EXPECT_TRUE(left().tableView()->hasFocus());
    }
    // The other panel has a "cd -" of its own; a folder that cannot be entered leaves it in place.
    press(Qt::Key_Tab);
    EXPECT_EQ(answering({ ok }, [&] { startCommandLine("cd -"); }),
        ShownDialogs { notice("Change Folder", "cd: no previous folder") });
    EXPECT_EQ(
        answering({ ok }, [&] { startCommandLine("cd kiv-nowhere"); }).at(0).title, "Can't Open Folder");
    EXPECT_EQ(right().state().location().path(), m_home.path());
}

TEST_F(ToolCommandsTest, TheUserMenuIsReadAfreshOnEveryF2AndItsEntriesRunInTheActiveFolder)
{
    // An entry runs unchanged in the active folder, at once on its hot key; its failure shows only
    // in the console. A bad line is shown, never chosen.
    const std::string menuFile = m_home.write(
        ".config/kiv-mac/menu.txt", "e|Fail loudly|echo oops >&2; exit 2\n12|Twelve|echo 12\n");
    press(Qt::Key_F2);
    waitForJobs(); // the file is read as a job
    EXPECT_EQ(openMenuTitles(),
        QStringList(
            { "e  Fail loudly", "Line 2 of the menu file: the hot key \"12\" is more than one character",
                "---", "Edit menu file..." }));
    EXPECT_FALSE(RetroMenuSession::current()->panel()->menuView()->rows()[1].item.isSelectable());
    QTest::keyClick(RetroMenuSession::current()->panel()->menuView(), Qt::Key_E);
    ASSERT_TRUE(commandEnds());
    EXPECT_EQ(transcript(), m_home.path() + " $ echo oops >&2; exit 2\noops\n[exit code 2]");
    closeConsoleWith(Qt::Key_Escape);

    // Read again: a file of comments only gives the default menu and stays as it was.
    const std::string comments = "# nothing but comments\n\n   # and an indented one\n";
    m_home.write(".config/kiv-mac/menu.txt", comments);
    press(Qt::Key_F2);
    waitForJobs();
    EXPECT_EQ(openMenuTitles().mid(3), QStringList({ "4  Open Terminal here", "---", "Edit menu file..." }));
    chooseFromOpenMenu(4); // "Edit menu file..."
    waitForJobs();
    ASSERT_NE(right().editorView(), nullptr);
    EXPECT_EQ(right().editorView()->filePath(), menuFile);
    EXPECT_EQ(&active(), &left());
    EXPECT_EQ(readFile(menuFile), comments);
}

TEST_F(ToolCommandsTest, ExtractPutsTheWholeArchiveIntoTheOtherPanelAndNeverReplacesAFile)
{
    m_home.write("src/a.txt", "archived a");
    m_home.write("src/c.txt", "archived c");
    m_home.run("cd src && zip -q pack.zip a.txt c.txt && zip -q outer.zip pack.zip");
    const std::string out = m_home.folder("out");
    left().goTo(m_home / "src");
    right().goTo(out);
    waitForJobs();

    putCursorOn(left(), "..");
    EXPECT_EQ(extract({ ok }), ShownDialogs { notice("Extract Archive", "Select an archive file first.") });
    putCursorOn(left(), "pack.zip");
    extract();
    EXPECT_EQ(readFile(out + "/a.txt"), "archived a");

    // Again after the user changed one file and removed the other: the file in the way is a
    // question, kept on Skip; the missing file comes back and the panel shows it.
    m_home.write("out/a.txt", "mine");
    std::filesystem::remove(out + "/c.txt");
    right().reload();
    waitForJobs();
    const ShownDialogs shown = extract({ pressing(Qt::Key_S) });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Extract - Name Taken");
    EXPECT_NE(shown[0].message.find(out + "/a.txt"), std::string::npos) << shown[0].message;
    EXPECT_EQ(
        active().view()->findChild<RetroLabel*>("statusLabel")->text(), " Extracted 1 of 2 items; 1 skipped")
        << "the user's own skip needs no dismissing";
    EXPECT_EQ(std::pair(readFile(out + "/a.txt"), readFile(out + "/c.txt")),
        (std::pair<std::string, std::string>("mine", "archived c")));
    EXPECT_TRUE(lists(right(), "c.txt"));

    // Out of an archive inside one: explained, nothing extracted.
    putCursorOn(left(), "outer.zip");
    press(Qt::Key_Return);
    putCursorOn(left(), "pack.zip");
    EXPECT_EQ(extract({ ok }),
        ShownDialogs { notice("Extract Archive",
            "An archive inside an archive can't be extracted here. Copy it out with F5 first.") });
}

TEST_F(ToolCommandsTest, AltF5PacksTheMarkedItemsIntoTheOtherPanelAndAsksBeforeReplacingAnArchive)
{
    m_home.write("src/a.txt", "alpha");
    m_home.write("src/box/inside.txt", "inside");
    m_home.write("src/c.txt", "not marked");
    const std::string out = m_home.folder("out");
    left().goTo(m_home / "src");
    right().goTo(out);
    waitForJobs();
    for (const char* name : { "a.txt", "box" }) {
        putCursorOn(left(), name);
        press(Qt::Key_Space);
    }
    const auto altF5 = [&](std::vector<Answer> answers) {
        ShownDialogs shown = answering(
            std::move(answers), [&] { QTest::keyClick(active().tableView(), Qt::Key_F5, Qt::AltModifier); });
        waitForJobs();
        return shown;
    };
    EXPECT_EQ(altF5({ typing(out + "/both.tar.gz") }),
        ShownDialogs { prompt("Pack", "Pack 2 item(s) into:", out + "/src.zip") });
    m_home.run("mkdir unpacked && tar -xzf out/both.tar.gz -C unpacked");
    EXPECT_EQ(std::vector<std::string>(
                  { readFile(m_home / "unpacked/a.txt"), readFile(m_home / "unpacked/box/inside.txt") }),
        (std::vector<std::string> { "alpha", "inside" }));
    EXPECT_FALSE(std::filesystem::exists(m_home / "unpacked/c.txt"));
    EXPECT_TRUE(lists(right(), "both.tar.gz"));

    // The same name again: a question; skipped, the archive stays as it was, and the status line
    // says so.
    const std::string packed = readFile(out + "/both.tar.gz");
    putCursorOn(left(), "c.txt");
    const ShownDialogs again = altF5({ typing(out + "/both.tar.gz"), pressing(Qt::Key_S) });
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[1].title, "Pack - Name Taken");
    EXPECT_EQ(readFile(out + "/both.tar.gz"), packed);
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
    left().goTo(m_home / "a");
    right().goTo(m_home / "b");
    waitForJobs();
    press(Qt::Key_Tab);
    putCursorOn(right(), "same.txt");
    press(Qt::Key_Space);
    ASSERT_EQ(right().state().markedNames().size(), 1u);
    // Changed after both panels were listed: the comparison must see it all the same.
    std::filesystem::last_write_time(m_home.write("a/differs.txt", "123456"), stamp);

    EXPECT_EQ(answering({ ok }, [&] { chooseFromPulldown(1, 6); }), // "Compare Directories"
        ShownDialogs { notice("Compare Directories", "2 item(s) marked on the left, 1 on the right.") });
    using Names = std::unordered_set<std::string>;
    EXPECT_EQ(left().state().markedNames(), Names({ "differs.txt", "only-left.txt" }));
    EXPECT_EQ(right().state().markedNames(), Names({ "differs.txt" }));
}
