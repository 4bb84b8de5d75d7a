#include "ProgramTest.h"
#include "commands/ShellCommands.h"
#include "console/CommandLineBar.h"
#include "console/CommandLineField.h"
#include "console/ConsoleView.h"

using namespace kiv;
using namespace kiv::test;

namespace {

class NavigationCommandsTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        m_home.write("docs/it's here.txt");
        startProgram();
    }

    // Presses Ctrl+`key` or Alt+`key` in the active panel and waits for what it lists.
    void ctrl(Qt::Key key)
    {
        QTest::keyClick(active().tableView(), key, Qt::ControlModifier);
        waitForJobs();
    }
    void alt(Qt::Key key)
    {
        QTest::keyClick(active().tableView(), key, Qt::AltModifier);
        waitForJobs();
    }
    static std::string place(PanelViewController& panel) { return panel.state().location().displayPath(); }
    CommandLineField& field() { return *root().commandLine()->field(); }
    void runCommandLine(const char* line)
    {
        field().setText(line);
        QTest::keyClick(&field(), Qt::Key_Return);
        ConsoleView* console = m_controller->shellCommands().console();
        ASSERT_TRUE(console && QTest::qWaitFor([&] { return !console->isRunning(); }, 10'000));
        waitForJobs();
        m_controller->shellCommands().hideConsole();
    }

    const std::string m_docs = m_home / "docs";
    const std::string m_music = m_home.folder("music");
};

} // namespace

TEST_F(NavigationCommandsTest, GoToSwapHistoryAndNamesIntoTheCommandLine)
{
    // A typed file path, from home, takes the panel to its folder with the cursor on it.
    answering({ typing("~/docs/it's here.txt") }, [&] { ctrl(Qt::Key_G); });
    EXPECT_EQ(place(left()), m_docs);
    EXPECT_EQ(left().selectedEntry()->name, "it's here.txt");
    ctrl(Qt::Key_J);
    QTest::keyClick(active().tableView(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(field().text().toStdString(), "'it'\\''s here.txt' 'it'\\''s here.txt' ");
    field().clear();

    ctrl(Qt::Key_Equal);
    EXPECT_EQ(place(right()), m_docs);
    right().goTo(m_music);
    waitForJobs();
    ctrl(Qt::Key_U);
    EXPECT_EQ(std::pair(place(left()), place(right())), std::pair(m_music, m_docs));
    EXPECT_EQ(right().selectedEntry()->name, "it's here.txt");

    // The left panel went home, docs, music.
    alt(Qt::Key_Left);
    alt(Qt::Key_Left);
    EXPECT_EQ(place(left()), m_home.path());
    alt(Qt::Key_Right);
    EXPECT_EQ(place(left()), m_docs);

    runCommandLine("true");
    runCommandLine("echo");
    QTest::keyClicks(&field(), "ec");
    for (Qt::Key key : { Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Down })
        QTest::keyClick(&field(), key);
    EXPECT_EQ(field().text(), "echo");
    QTest::keyClick(&field(), Qt::Key_Down);
    EXPECT_EQ(field().text(), "ec");
}

TEST_F(NavigationCommandsTest, SettingsComeBackAfterARestartAndADamagedFileIsSetAside)
{
    left().goTo(m_docs);
    waitForJobs();
    left().chooseSortKey(SortOrder::Key::size);
    right().toggleHidden();
    waitForJobs();
    ctrl(Qt::Key_D);
    chooseFromOpenMenu(0); // "Add this folder to the hotlist"
    runCommandLine("true");
    finishTestDialogs();
    m_controller.reset();
    startProgram();

    EXPECT_EQ(std::pair(place(left()), place(right())), std::pair(m_docs, m_home.path()));
    EXPECT_EQ(left().state().sortOrder(), SortOrder { SortOrder::Key::size });
    EXPECT_TRUE(right().state().showHidden());
    alt(Qt::Key_Left);
    EXPECT_EQ(place(left()), m_home.path());
    QTest::keyClick(&field(), Qt::Key_Up);
    EXPECT_EQ(field().text(), "true");
    ctrl(Qt::Key_D);
    chooseFromOpenMenu(0); // the docs folder, kept in the hotlist
    EXPECT_EQ(place(left()), m_docs);

    finishTestDialogs();
    m_controller.reset();
    const std::string file = m_home / ".config/kiv-mac/settings.txt";
    m_home.write(".config/kiv-mac/settings.txt", "not settings");
    EXPECT_EQ(answering({ ok },
                  [&] {
                      m_controller = std::make_unique<MainWindowController>();
                      m_controller->showWindow();
                  }),
        ShownDialogs { notice("Settings",
            "The settings file " + file + " was damaged. It has been set aside as " + file
                + ".damaged, and Tavrin starts with its default settings.") });
    EXPECT_EQ(place(left()), m_home.path());
    EXPECT_EQ(readFile(file + ".damaged"), "not settings");
}
