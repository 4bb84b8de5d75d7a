#include "terminal/TerminalSession.h"

#include "base/ErrorText.h"
#include "base/PlatformCalls.h"
#include "jobs/JobControl.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <unistd.h>

namespace kiv {

namespace {

constexpr std::size_t readChunkBytes = 1 << 16;
// What the emulator takes in one go while it holds the lock: a few tenths of a millisecond.
constexpr std::size_t sliceBytes = 1 << 12;
// What one turn of the loop reads at most, so keys and resizes are handled during a flood too.
constexpr std::size_t readTurnBytes = 1 << 20;
// How often the loop looks whether the shell has ended while the terminal stays open (a program
// the shell sent to the background may hold it).
constexpr int exitPollMilliseconds = 100;
constexpr int yellow = 11;
constexpr int lightRed = 9;

std::string userShell()
{
    if (const char* shell = std::getenv("SHELL"); shell && *shell)
        return shell;
    return ::access("/bin/zsh", X_OK) == 0 ? "/bin/zsh" : "/bin/sh";
}

// The shells that know -m. Without job control a program the line sends to the background
// would share the shell's process group, which the terminal hangs up when the shell ends.
bool takesJobControlOption(const std::string& shell)
{
    const std::string name = shell.substr(shell.find_last_of('/') + 1);
    for (const char* known : { "sh", "bash", "dash", "zsh", "ksh", "mksh", "ash", "yash" })
        if (name == known)
            return true;
    return false;
}

std::vector<std::string> shellArguments(const std::string& line)
{
    const std::string shell = userShell();
    if (takesJobControlOption(shell))
        return { shell, "-l", "-m", "-c", line };
    return { shell, "-l", "-c", line };
}

bool isInterrupt(const TerminalKey& key)
{
    return key.name == TerminalKey::Name::character && key.modifiers == TerminalKey::control
        && (key.character == U'c' || key.character == U'C');
}

void makeNonBlocking(int fd)
{
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

} // namespace

TerminalSession::TerminalSession(std::string line, std::string directory, PseudoTerminal::Size size)
    : m_line(std::move(line))
    , m_directory(std::move(directory))
    , m_size(size)
    , m_emulator(size.rows, size.columns, [this](std::string_view bytes) { m_toProgram.append(bytes); })
{
    int wake[2];
    if (PlatformCalls::makeCloseOnExecPipe(wake) == 0) {
        m_wakeRead.reset(wake[0]);
        m_wakeWrite.reset(wake[1]);
        makeNonBlocking(wake[0]);
        makeNonBlocking(wake[1]);
    }
    m_emulator.writeNote(m_directory + " $ " + m_line, yellow);
}

std::string TerminalSession::title() const
{
    return "Shell";
}

std::string TerminalSession::description() const
{
    return m_line;
}

JobFootprint TerminalSession::footprint() const
{
    return {};
}

JobOutcome TerminalSession::run(JobControl& control)
{
    std::unique_ptr<PseudoTerminal> terminal;
    try {
        terminal = std::make_unique<PseudoTerminal>(shellArguments(m_line), m_directory, size());
        std::lock_guard lock(m_mutex);
        m_terminal = terminal.get();
        m_terminal->resize(m_size); // the window may have changed size meanwhile
    } catch (const std::exception& error) {
        std::lock_guard lock(m_mutex);
        m_emulator.writeNote("Failed to launch shell: " + userMessage(error), lightRed);
        end(-1);
        return { JobOutcome::End::failed, m_line };
    }
    pump(*terminal, control);
    const int exitCode = terminal->exitCode(true).value_or(-1);
    std::lock_guard lock(m_mutex);
    m_terminal = nullptr;
    if (exitCode != 0)
        m_emulator.writeNote("[exit code " + std::to_string(exitCode) + "]", lightRed);
    end(exitCode);
    if (control.isCancelled())
        return { JobOutcome::End::cancelled, m_line };
    return { exitCode == 0 ? JobOutcome::End::completed : JobOutcome::End::failed, m_line };
}

void TerminalSession::end(int exitCode)
{
    m_exitCode = exitCode;
    ++m_changes;
}

void TerminalSession::pump(PseudoTerminal& terminal, JobControl& control)
{
    std::string buffer(readChunkBytes, '\0');
    std::string outgoing;
    bool open = true;
    while (true) {
        bool killAsked = false;
        takeWork(outgoing, killAsked);
        if (control.isCancelled()) {
            terminal.kill();
            return;
        }
        if (killAsked && terminal.signalsInterrupts())
            terminal.kill();
        std::array<pollfd, 2> watched { { { open ? terminal.descriptor() : -1,
                                              short(POLLIN | (outgoing.empty() ? 0 : POLLOUT)), 0 },
            { m_wakeRead.get(), POLLIN, 0 } } };
        if (::poll(watched.data(), watched.size(), exitPollMilliseconds) < 0 && errno != EINTR) {
            terminal.kill();
            return;
        }
        if (watched[1].revents & POLLIN) {
            char drained[64];
            while (::read(m_wakeRead.get(), drained, sizeof drained) > 0) {
            }
        }
        if (watched[0].revents & POLLOUT) {
            const ssize_t written = ::write(terminal.descriptor(), outgoing.data(), outgoing.size());
            if (written > 0)
                outgoing.erase(0, std::size_t(written));
            else if (written < 0 && errno != EAGAIN && errno != EINTR)
                outgoing.clear(); // nobody is left to read it
        }
        if (watched[0].revents & (POLLIN | POLLHUP | POLLERR))
            open = readAvailable(terminal, buffer);
        if (terminal.exitCode(false)) {
            // What it wrote before it ended is still to be shown.
            while (open && readAvailable(terminal, buffer)) {
            }
            return;
        }
    }
}

bool TerminalSession::readAvailable(PseudoTerminal& terminal, std::string& buffer)
{
    for (std::size_t taken = 0; taken < readTurnBytes;) {
        const ssize_t count = ::read(terminal.descriptor(), buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno == EAGAIN)
            return true;
        // The end, or EIO once every process has closed the terminal.
        if (count <= 0)
            return false;
        showOutput(std::string_view(buffer.data(), std::size_t(count)));
        taken += std::size_t(count);
    }
    return true;
}

void TerminalSession::showOutput(std::string_view bytes)
{
    std::lock_guard lock(m_mutex);
    for (std::size_t at = 0; at < bytes.size(); at += sliceBytes) {
        m_mutex.handOver();
        m_emulator.write(bytes.substr(at, sliceBytes));
        ++m_changes;
    }
}

void TerminalSession::takeWork(std::string& outgoing, bool& killAsked)
{
    std::lock_guard lock(m_mutex);
    outgoing += m_toProgram;
    m_toProgram.clear();
    killAsked = std::exchange(m_killAsked, false);
}

void TerminalSession::wake()
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(m_wakeWrite.get(), &byte, 1);
}

void TerminalSession::pressKey(const TerminalKey& key)
{
    {
        std::lock_guard lock(m_mutex);
        const auto now = std::chrono::steady_clock::now();
        if (!isInterrupt(key))
            m_interruptedAt.reset();
        else if (!m_interruptedAt)
            m_interruptedAt = now;
        else if (now - *m_interruptedAt >= interruptGrace)
            m_killAsked = true;
        m_emulator.pressKey(key);
    }
    wake();
}

void TerminalSession::paste(std::string_view text)
{
    {
        std::lock_guard lock(m_mutex);
        m_interruptedAt.reset();
        m_emulator.paste(text);
    }
    wake();
}

void TerminalSession::moveMouse(TerminalScreen::Position at, std::uint8_t modifiers)
{
    {
        std::lock_guard lock(m_mutex);
        m_emulator.moveMouse(at, modifiers);
    }
    wake();
}

void TerminalSession::pressMouse(TerminalScreen::Position at, int button, bool pressed, std::uint8_t modifiers)
{
    {
        std::lock_guard lock(m_mutex);
        m_emulator.pressMouse(at, button, pressed, modifiers);
    }
    wake();
}

bool TerminalSession::wantsMouse() const
{
    std::lock_guard lock(m_mutex);
    return m_emulator.wantsMouse();
}

void TerminalSession::resize(PseudoTerminal::Size size)
{
    std::lock_guard lock(m_mutex);
    if (size.rows == m_size.rows && size.columns == m_size.columns)
        return;
    m_size = size;
    // The emulator first: the program draws anew for the size it is told, into cells that fit.
    m_emulator.resize(size.rows, size.columns);
    if (m_terminal)
        m_terminal->resize(size);
    ++m_changes;
}

void TerminalSession::copyView(std::size_t linesBack, std::int64_t pushedBefore, TerminalSnapshot& snapshot) const
{
    std::lock_guard lock(m_mutex);
    m_emulator.copyView(linesBack, pushedBefore, snapshot);
}

PseudoTerminal::Size TerminalSession::size() const
{
    std::lock_guard lock(m_mutex);
    return m_size;
}

std::optional<int> TerminalSession::exitCode() const
{
    std::lock_guard lock(m_mutex);
    return m_exitCode;
}

} // namespace kiv
