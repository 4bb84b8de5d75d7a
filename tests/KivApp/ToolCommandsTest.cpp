#include "ProgramTest.h"
#include "commands/ShellCommands.h"
#include "console/CommandLineBar.h"
#include "console/CommandLineField.h"
#include "console/ConsoleOutputView.h"
#include "toolkit/RetroLabel.h"
#include "toolkit/RetroMenuPanel.h"
#include "toolkit/RetroMenuSession.h"
#include "toolkit/RetroMenuView.h"
#include "viewer/PanelEditorView.h"

#include <QPlainTextEdit>
#include <chrono>

using namespace kiv;
using namespace kiv::test;

namespace {

// The program's window over a home folder of its own; the tests drive it by keys and clicks.
class ToolCommandsTest : public ProgramTest
{
protected:
    void SetUp() override { startProgram(); }

    ConsoleOutputView* console() { return m_controller->shellCommands().consoleOutput(); }
    void typeCommandLine(const QString& line)
    {
        CommandLineField* field = root().commandLine()->field();
        field->setFocus();
        QTest::keyClicks(field, line);
        QTest::keyClick(field, Qt::Key_Return);
    }
    std::string transcript() { return console()->findChild<QPlainTextEdit*>()->toPlainText().toStdString(); }
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
        return answering(std::move(answers), [&] { chooseFromPulldown(1, 5); });
    }

    const std::string m_docs = m_home.folder("docs");
};

} // namespace

TEST_F(ToolCommandsTest, CommandLinesRunInTheActiveFolderOrTheOneHoldingItsArchiveAndTheConsoleOnlyCloses)
{
    m_home.write("docs/inner/member.txt", "m");
    m_home.run("cd docs && zip -qr pack.zip inner");
    left().goTo(m_docs);
    press(Qt::Key_Tab); // the right panel, on home, is active
    typeCommandLine("");
    EXPECT_EQ(console(), nullptr) << "an empty line runs nothing";
    typeCommandLine("touch docs/made.txt && echo done");
    ASSERT_NE(console(), nullptr);
    EXPECT_TRUE(console()->hasFocus());
    EXPECT_EQ(transcript(), m_home.path() + " $ touch docs/made.txt && echo done\n\ndone\n");
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
    EXPECT_EQ(transcript(), m_docs + " $ pwd\n\n" + m_docs + "\n");
    closeConsoleWith(Qt::Key_F9);
    EXPECT_EQ(RetroMenuSession::current(), nullptr);
    EXPECT_TRUE(left().tableView()->hasFocus());
}

TEST_F(ToolCommandsTest, TheUserMenuIsReadAfreshOnEveryF2AndItsEntriesRunInTheActiveFolder)
{
    // An entry runs unchanged in the active folder; its failure shows only in the console.
    const std::string menuFile
        = m_home.write(".config/kiv-mac/menu.txt", "e|Fail loudly|echo oops >&2; exit 2\n");
    press(Qt::Key_F2);
    EXPECT_EQ(openMenuTitles(), QStringList({ "e  Fail loudly", "---", "Edit menu file..." }));
    chooseFromOpenMenu(0);
    ASSERT_NE(console(), nullptr);
    EXPECT_EQ(transcript(), m_home.path() + " $ echo oops >&2; exit 2\n\noops\n\n[exit code 2]\n");
    closeConsoleWith(Qt::Key_Escape);

    // Read again: a file of comments only gives the default menu and stays as it was.
    const std::string comments = "# nothing but comments\n\n   # and an indented one\n";
    m_home.write(".config/kiv-mac/menu.txt", comments);
    press(Qt::Key_F2);
    EXPECT_EQ(openMenuTitles().mid(3), QStringList({ "4  Open Terminal here", "---", "Edit menu file..." }));
    chooseFromOpenMenu(4); // "Edit menu file..."
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

    putCursorOn(left(), "..");
    EXPECT_EQ(extract({ ok }),
        ShownDialogs { notice("Extract Archive", "Select a .zip/.tar/.tar.gz/.tgz file first.") });
    putCursorOn(left(), "pack.zip");
    extract();
    EXPECT_EQ(readFile(out + "/a.txt"), "archived a");

    // Again after the user changed one file and removed the other: the change survives, the
    // missing file comes back and the panel shows it, and the file in the way is skipped.
    m_home.write("out/a.txt", "mine");
    std::filesystem::remove(out + "/c.txt");
    right().reload();
    EXPECT_EQ(extract({ ok }), ShownDialogs { notice("Error", "Extracted 1 of 1 item; 1 skipped") });
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
