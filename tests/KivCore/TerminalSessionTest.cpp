#include "terminal/TerminalSession.h"

#include "ScopedEnvironment.h"
#include "TempDir.h"
#include "TerminalText.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"

#include <chrono>
#include <functional>
#include <thread>

using namespace kiv;
using namespace kiv::test;

namespace {

// The login shell may print greetings of its own; the tests use a plain one.
const ScopedEnvironment plainShell("SHELL", "/bin/sh");

// One line run on its own terminal, as the console runs it; the test types into it and reads
// its screen.
class TerminalSessionTest : public ::testing::Test
{
protected:
    void start(const std::string& line, const std::string& folder, PseudoTerminal::Size size = { 24, 80 })
    {
        m_session = std::make_shared<TerminalSession>(line, folder, size);
        m_thread = std::make_unique<JobThread>(m_session, std::make_shared<JobControl>(), nullptr);
    }
    std::string screen() const
    {
        TerminalSnapshot snapshot;
        m_session->copyView(0, 0, snapshot);
        return terminalText(snapshot);
    }
    TerminalSnapshot snapshot() const
    {
        TerminalSnapshot snapshot;
        m_session->copyView(0, 0, snapshot);
        return snapshot;
    }
    static bool waitFor(const std::function<bool()>& condition, int milliseconds = 10'000)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }
    // Waits until the screen shows `text`.
    bool shows(const std::string& text, int milliseconds = 10'000) const
    {
        return waitFor([&] { return screen().find(text) != std::string::npos; }, milliseconds);
    }
    // Waits for the end and returns the exit code, or nothing when it did not come in time.
    std::optional<int> ends(int milliseconds = 10'000) const
    {
        waitFor([&] { return m_session->exitCode().has_value(); }, milliseconds);
        return m_session->exitCode();
    }
    void type(const std::string& text) const
    {
        for (const char character : text)
            m_session->pressKey({ TerminalKey::Name::character, char32_t(character), 0, 0 });
    }
    void pressControl(char letter) const
    {
        m_session->pressKey({ TerminalKey::Name::character, char32_t(letter), 0, TerminalKey::control });
    }
    void pressReturn() const { m_session->pressKey({ TerminalKey::Name::enter, 0, 0, 0 }); }

    TempDir m_scratch;
    const std::string m_folder = std::filesystem::canonical(m_scratch.path()).string();
    std::shared_ptr<TerminalSession> m_session;
    std::unique_ptr<JobThread> m_thread;
};

} // namespace

TEST_F(TerminalSessionTest, TheLineRunsInTheFolderOnATerminalItLeadsSizedAsAskedWithTheExitCodeAfterIt)
{
    const ScopedEnvironment startedFromAConsole("TERM", "dumb"); // not what the console is
    start("stty size; echo $TERM; pwd; exec python3 -c 'import os; print(os.isatty(0), os.isatty(1), "
          "os.isatty(2), os.getsid(0) == os.getpid(), os.tcgetpgrp(0) == os.getpgrp() == os.getpid()); "
          "exit(3)'",
        m_folder, { 20, 70 });
    ASSERT_EQ(ends(), 3);
    EXPECT_TRUE(screen().starts_with(m_folder + " $ stty size; echo $TERM; pwd; exec python3")) << screen();
    EXPECT_TRUE(screen().ends_with(
        "\n20 70\nxterm-256color\n" + m_folder + "\nTrue True True True True\n[exit code 3]"))
        << screen();
}

TEST_F(TerminalSessionTest, AStartThatFailsSaysWhyOnTheScreenAndNoShellVariableMeansZshOrSh)
{
    start("true", "/kiv-no-such-folder");
    ASSERT_EQ(ends(), -1);
    EXPECT_EQ(screen(),
        "/kiv-no-such-folder $ true\nFailed to launch shell: No such file or directory: /kiv-no-such-folder");
    {
        const ScopedEnvironment missingShell("SHELL", "/kiv/no-shell");
        start("true", "/");
        ASSERT_EQ(ends(), -1);
        EXPECT_EQ(screen(), "/ $ true\nFailed to launch shell: No such file or directory: /kiv/no-shell");
    }
    const ScopedEnvironment unset("SHELL", nullptr);
    start("echo $0", "/");
    ASSERT_EQ(ends(), 0);
    EXPECT_EQ(screen(), std::string("/ $ echo $0\n") + (::access("/bin/zsh", X_OK) == 0 ? "/bin/zsh" : "/bin/sh"));
}

TEST_F(TerminalSessionTest, TypedKeysReachTheProgramThroughTheLineDisciplineAndCtrlDEndsItsInput)
{
    start("cat > typed.txt; echo saved", m_folder);
    ASSERT_TRUE(shows("$ cat"));
    type("hello, ");
    m_session->pressKey({ TerminalKey::Name::character, U'\u00e9', 0, 0 });
    m_session->pressKey({ TerminalKey::Name::backspace, 0, 0, 0 }); // erases the whole character
    type("e");
    pressReturn();
    pressControl('d');
    ASSERT_EQ(ends(), 0);
    EXPECT_EQ(readFile(m_scratch / "typed.txt"), "hello, e\n");
    EXPECT_TRUE(screen().ends_with("\nhello, e\nsaved")) << screen();
}

TEST_F(TerminalSessionTest, CtrlCInterruptsASecondOneKillsWhatIgnoresItAndAProgramReadingKeysRawGetsThemAsKeys)
{
    start("sleep 30", m_folder);
    ASSERT_TRUE(shows("$ sleep 30"));
    pressControl('c');
    EXPECT_EQ(ends(), 2); // SIGINT, through the terminal's interrupt character

    start("sleep 30", m_folder);
    ASSERT_TRUE(shows("$ sleep 30"));
    pressControl('\\');
    EXPECT_EQ(ends(), 3); // SIGQUIT

    // Ignored, then pressed again too soon, then after the grace: the group is killed.
    start("trap '' INT; echo ready; sleep 30", m_folder);
    ASSERT_TRUE(shows("\nready"));
    pressControl('c');
    pressControl('c');
    EXPECT_EQ(ends(300), std::nullopt);
    std::this_thread::sleep_for(TerminalSession::interruptGrace);
    pressControl('c');
    EXPECT_EQ(ends(2000), 9);

    // A key between the two makes the second a first again.
    start("trap '' INT; echo ready; sleep 30", m_folder);
    ASSERT_TRUE(shows("\nready"));
    pressControl('c');
    std::this_thread::sleep_for(TerminalSession::interruptGrace);
    type("x");
    pressControl('c');
    EXPECT_EQ(ends(300), std::nullopt);

    // Raw keys: the program reads each Ctrl+C as a byte and is not killed for it.
    start("exec python3 -c 'import os, tty; tty.setraw(0); print(\"raw\", end=\"\\r\\n\", flush=True); "
          "print(list(os.read(0, 1) + os.read(0, 1) + os.read(0, 1)), end=\"\\r\\n\")'",
        m_folder);
    ASSERT_TRUE(shows("\nraw"));
    pressControl('c');
    std::this_thread::sleep_for(TerminalSession::interruptGrace);
    pressControl('c');
    pressControl('[');
    ASSERT_EQ(ends(), 0);
    EXPECT_TRUE(screen().ends_with("\n[3, 3, 27]")) << screen();
}

TEST_F(TerminalSessionTest, ColoursAndStylesArriveAsCellsWideCharactersTakeTwoAndBadBytesArePlaceholders)
{
    start("printf '\\033[1;31mR\\033[0m\\033[7mV\\033[0;4mU\\033[0;38;5;196mX\\033[38;2;0;0;150mY"
          "\\033[0;31;1mB\\033[0m\\344\\270\\255\\377z\\n'",
        m_folder, { 24, 200 });
    ASSERT_EQ(ends(), 0);
    const TerminalSnapshot cells = snapshot();
    const auto cell = [&](int column) { return cells.at(1, column); };
    EXPECT_EQ(terminalText(cells, 1), "RVUXYB\u4e2d\ufffdz");
    EXPECT_EQ(cell(0).foreground, 9) << "bold red is bright red";
    EXPECT_TRUE(cell(0).style & TerminalCell::bold);
    EXPECT_EQ(cell(1).style, TerminalCell::reverse);
    EXPECT_EQ(cell(2).style, TerminalCell::underline);
    EXPECT_EQ(cell(3).foreground, 1) << "xterm's red 196 is the nearest red";
    EXPECT_EQ(cell(4).foreground, 4) << "a dark blue in true colour is blue";
    EXPECT_EQ(cell(5).foreground, 9) << "bold after the colour brightens it as well";
    EXPECT_EQ(cell(6).foreground, TerminalCell::defaultColour);
    EXPECT_EQ(cell(6).width, 2);
    EXPECT_EQ(cell(7).width, 0);
    EXPECT_EQ(cell(8).character, TerminalCell::placeholder);
    EXPECT_EQ(cell(9).character, U'z');
}

TEST_F(TerminalSessionTest, TheAlternateScreenGivesTheOldOneBackAndAResizeIsSeenByTheProgram)
{
    start("echo before; printf '\\033[?1049h\\033[Hfull screen\\n'; stty size; read x; printf '\\033[?1049l';"
          " stty size; echo after",
        m_folder, { 10, 40 });
    ASSERT_TRUE(shows("10 40"));
    EXPECT_EQ(screen(), "full screen\n10 40");
    m_session->resize({ 12, 50 });
    pressReturn();
    ASSERT_EQ(ends(), 0);
    EXPECT_TRUE(screen().ends_with("\nbefore\n12 50\nafter")) << screen();
    EXPECT_EQ(screen().find("full screen\n10 40"), std::string::npos);
}

TEST_F(TerminalSessionTest, TheScrollbackKeepsTenThousandLinesAndAViewUpThereStaysOnItsLines)
{
    start("seq 20000; read x; seq 3", m_folder, { 5, 20 });
    ASSERT_TRUE(shows("\n20000"));
    TerminalSnapshot view;
    m_session->copyView(TerminalEmulator::scrollbackLines + 100, 0, view);
    EXPECT_EQ(view.scrollbackLines, TerminalEmulator::scrollbackLines);
    EXPECT_EQ(view.linesBack, TerminalEmulator::scrollbackLines) << "kept within the scrollback";
    EXPECT_EQ(terminalText(view), "9997\n9998\n9999\n10000\n10001");
    EXPECT_FALSE(view.cursorShown);

    m_session->copyView(2, view.pushed, view);
    const std::int64_t placedAt = view.pushed;
    EXPECT_EQ(terminalText(view), "19995\n19996\n19997\n19998\n19999");
    pressReturn();
    ASSERT_EQ(ends(), 0);
    m_session->copyView(2, placedAt, view);
    EXPECT_EQ(terminalText(view), "19995\n19996\n19997\n19998\n19999") << "four more lines came meanwhile";
}
