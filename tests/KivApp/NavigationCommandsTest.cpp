#include "ProgramTest.h"
#include "commands/ShellCommands.h"
#include "console/CommandLineBar.h"
#include "console/CommandLineField.h"
#include "console/ConsoleView.h"
#include "jobscreen/JobQuestionDialog.h"
#include "toolkit/RetroChoiceView.h"
#include "toolkit/RetroDialogView.h"
#include "toolkit/ShownText.h"
#include "toolkit/RetroMenuPanel.h"
#include "toolkit/RetroMenuSession.h"
#include "toolkit/RetroMenuView.h"

#include "SshServer.h"

#include <QLineEdit>
#include <QTimer>

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
    void runCommandLine(const std::string& line)
    {
        field().setText(ShownText::of(line));
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

    // A line holding a name that is not UTF-8 comes back with the same bytes, and runs as itself.
    field().clear();
    const std::string odd = "touch caf\xE9 ";
    runCommandLine(odd + "\xFF");
    QTest::keyClick(&field(), Qt::Key_Up);
    EXPECT_EQ(ShownText::bytesOf(field().text()), odd + "\xFF");
    QTest::keyClick(&field(), Qt::Key_Up);
    QTest::keyClick(&field(), Qt::Key_Down);
    EXPECT_EQ(ShownText::bytesOf(field().text()), odd + "\xFF");
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
    const std::string file = m_home / ".config/kiv-mac/settings.txt";
    m_home.write(".config/kiv-mac/settings.txt", readFile(file) + "from.a.newer.version 1\n");
    startProgram();

    EXPECT_EQ(std::pair(place(left()), place(right())), std::pair(m_docs, m_home.path()));
    EXPECT_EQ(left().state().sortOrder(), SortOrder { SortOrder::Key::size });
    EXPECT_TRUE(right().state().showHidden());
    alt(Qt::Key_Left);
    EXPECT_EQ(place(left()), m_home.path());
    QTest::keyClick(&field(), Qt::Key_Up);
    EXPECT_EQ(field().text(), "true");
    // The hotlist opens on its first folder: Return goes there.
    ctrl(Qt::Key_D);
    ASSERT_NE(RetroMenuSession::current(), nullptr);
    QTest::keyClick(RetroMenuSession::current()->panel()->menuView(), Qt::Key_Return);
    waitForJobs();
    EXPECT_EQ(place(left()), m_docs); // kept in the hotlist

    finishTestDialogs();
    m_controller.reset();
    EXPECT_TRUE(readFile(file).ends_with("\nfrom.a.newer.version 1\n")) << "a newer version's line was lost";
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

TEST_F(NavigationCommandsTest, AServersFolderOpensByItsAddressAndNoCommandActsOnTheLocalFolderOfItsPath)
{
    SshServer server;
    const std::string url = server.place(m_docs).url();
    const ShownDialogs shown = answering({ typing(url), pressing(Qt::Key_T) }, [&] { ctrl(Qt::Key_G); });
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].title, "Connect - Unknown Server");
    EXPECT_NE(
        shown[1].message.find("ED25519 key fingerprint is " + server.hostKeyFingerprint()), std::string::npos)
        << shown[1].message;
    EXPECT_EQ(place(left()), url);
    EXPECT_TRUE(lists(left(), "it's here.txt"));
    // A Return typed ahead leaves the question open: trusting takes its own letter.
    answerNextModal([](QWidget* modal) {
        auto* face = modal->findChild<RetroChoiceView*>();
        QTest::keyClick(face, Qt::Key_Return);
        EXPECT_TRUE(modal->isVisible());
        QTest::keyClick(face, Qt::Key_T);
    });
    JobQuestionDialog question("Connect", { JobQuestion::Kind::hostKey, {}, {}, "key", false }, nullptr);
    EXPECT_EQ(question.askModally(), JobAnswer::trust);

    // The server's folder is this machine's docs folder too: only a command acting on the wrong
    // place could change it.
    putCursorOn(left(), "it's here.txt");
    const std::string refusal = " works on folders of this machine only, not on a server's folder.";
    EXPECT_EQ(answering({ ok }, [&] { ctrl(Qt::Key_M); }),
        ShownDialogs { notice("Multi-Rename", "Multi-Rename" + refusal) });
    field().setText("touch planted");
    EXPECT_EQ(answering({ ok }, [&] { QTest::keyClick(&field(), Qt::Key_Return); }),
        ShownDialogs { notice("Command", "Command" + refusal) });
    EXPECT_EQ(field().text(), "touch planted");
    EXPECT_EQ(std::filesystem::exists(m_docs + "/it's here.txt"), true);
    EXPECT_FALSE(std::filesystem::exists(m_docs + "/planted"));

    // The next run connects to it again, the key known by now, while the window already shows.
    finishTestDialogs();
    m_controller.reset();
    startProgram();
    waitForJobs();
    EXPECT_EQ(place(left()), url);
    EXPECT_TRUE(lists(left(), "it's here.txt"));
}

TEST_F(NavigationCommandsTest, ConnectToServerAsksForTheServersPartsAndOpensThePanelThere)
{
    SshServer server;
    server.trustHostKey();
    // Keys reach the dialog from the event loop, not from the answer, so the prompt or message a key
    // opens is answered in its turn; `lines` keeps what the dialog showed before each key.
    std::vector<std::string> lines;
    const auto key = [&lines](Qt::Key pressed) {
        answerNextModal([&lines, pressed](QWidget* modal) {
            lines.push_back(modal->findChild<RetroChoiceView*>()->lines().join('\n').toStdString());
            QTimer::singleShot(0, modal, [modal, pressed] { QTest::keyClick(modal->focusWidget(), pressed); });
        });
    };
    const auto field = [&](Qt::Key letter, const std::string& text) {
        key(letter);
        answerNextModal([text](QWidget* prompt) {
            auto* edit = prompt->findChild<QLineEdit*>();
            edit->setText(QString::fromStdString(text));
            QTest::keyClick(edit, Qt::Key_Return);
        });
    };
    const auto connectKey = [&] {
        QTest::keyClick(active().tableView(), Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
        waitForJobs();
    };

    // Without a host there is nothing to connect to: it says why and the dialog stays open.
    key(Qt::Key_Return);
    std::string refusal;
    answerNextModal([&refusal](QWidget* modal) {
        refusal = modal->findChild<RetroDialogView*>()->messageText().toStdString();
        QTest::keyClick(modal->focusWidget(), Qt::Key_Return);
    });
    key(Qt::Key_Escape);
    connectKey();
    EXPECT_EQ(refusal, "Give the server's host name or address.");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find(" H  Host:    (none yet)\n P  Port:    22\n"), std::string::npos) << lines[0];
    EXPECT_EQ(place(left()), m_home.path());

    lines.clear();
    field(Qt::Key_H, " 127.0.0.1");
    field(Qt::Key_P, std::to_string(server.port));
    field(Qt::Key_U, currentUserName());
    field(Qt::Key_F, m_docs);
    key(Qt::Key_Return);
    connectKey();
    ASSERT_EQ(lines.size(), 5u);
    // The fields show as typed, and are read without the blanks around them.
    EXPECT_NE(lines[4].find(" H  Host:     127.0.0.1\n P  Port:    " + std::to_string(server.port)
                  + "\n U  User:    " + currentUserName() + "\n F  Folder:  " + m_docs + "\n"),
        std::string::npos)
        << lines[4];
    EXPECT_EQ(place(left()), server.place(m_docs).url());
    EXPECT_TRUE(lists(left(), "it's here.txt"));
}
