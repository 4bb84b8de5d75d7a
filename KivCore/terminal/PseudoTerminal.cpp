#include "terminal/PseudoTerminal.h"

#include "base/ErrorText.h"
#include "base/PlatformCalls.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

extern char** environ;

namespace kiv {

namespace {

// Why the child did not get to run the program, sent up a pipe that closes on exec.
struct StartFailure
{
    enum Step : int
    {
        enterFolder,
        run,
    };
    Step step = run;
    int error = 0;
};

std::vector<std::string> childEnvironment()
{
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view text(*entry);
        if (!text.starts_with("TERM=") && !text.starts_with("COLUMNS=") && !text.starts_with("LINES="))
            environment.emplace_back(text);
    }
    environment.emplace_back("TERM=xterm-256color");
    return environment;
}

std::vector<char*> pointersTo(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& text : strings)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

winsize windowSize(PseudoTerminal::Size size)
{
    winsize window {};
    window.ws_row = static_cast<unsigned short>(size.rows);
    window.ws_col = static_cast<unsigned short>(size.columns);
    return window;
}

// Opens both ends of a new terminal of `size`; the other end stays open here until the child has
// it, so our end does not report a hang-up before the child has begun.
void openTerminal(UniqueFd& master, UniqueFd& slave, PseudoTerminal::Size size)
{
    // Closed on exec from the start where the system allows, so no program another thread
    // starts meanwhile keeps it.
    master.reset(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!master.valid() && errno == EINVAL)
        master.reset(::posix_openpt(O_RDWR | O_NOCTTY));
    if (!master.valid() || ::grantpt(master.get()) != 0 || ::unlockpt(master.get()) != 0)
        throwSystemError(errno, "/dev/ptmx");
    ::fcntl(master.get(), F_SETFD, FD_CLOEXEC);
    ::fcntl(master.get(), F_SETFL, ::fcntl(master.get(), F_GETFL) | O_NONBLOCK);
    const char* name = ::ptsname(master.get());
    slave.reset(name ? ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC) : -1);
    if (!slave.valid())
        throwSystemError(errno, name ? name : "/dev/pts");
    const winsize window = windowSize(size);
    ::ioctl(slave.get(), TIOCSWINSZ, &window);
#ifdef IUTF8
    // Erasing a character in a line being typed erases all of its bytes.
    termios modes {};
    if (::tcgetattr(slave.get(), &modes) == 0) {
        modes.c_iflag |= IUTF8;
        ::tcsetattr(slave.get(), TCSANOW, &modes);
    }
#endif
}

[[noreturn]] void reportFailure(int pipe, StartFailure::Step step)
{
    const StartFailure failure { step, errno };
    [[maybe_unused]] const auto written = ::write(pipe, &failure, sizeof failure);
    ::_exit(127);
}

// Runs in the child between vfork and exec, in our memory and on our stack, with every signal
// blocked: it only makes system calls and writes nothing but its own stack.
[[noreturn]] void runChild(
    int slave, const char* directory, char* const argv[], char* const environment[], int reportPipe)
{
    ::setsid();
    ::ioctl(slave, TIOCSCTTY, 0);
    for (int stream : { STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO })
        ::dup2(slave, stream);
    // The program starts with nothing blocked or ignored, whatever this process set up; the
    // handlers go before the signals are let in, as ours would run in our memory.
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal)
        ::sigaction(signal, &standard, nullptr);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    if (::chdir(directory) != 0)
        reportFailure(reportPipe, StartFailure::enterFolder);
    ::execve(argv[0], argv, environment);
    reportFailure(reportPipe, StartFailure::run);
}

// Starts the child and returns its process id, or -1 with errno set. A fork would mark every page
// of this process copy-on-write, and the window would fault on each page it drew next (a stall of
// tens of milliseconds after every command starts); vfork shares the memory until the exec.
pid_t startChild(int slave, const char* directory, char* const argv[], char* const environment[], int reportPipe)
{
    sigset_t all;
    sigset_t before;
    sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &before);
#ifdef __linux__
    const pid_t child = ::vfork();
#else
    const pid_t child = ::fork(); // vfork is deprecated where it is no more than fork
#endif
    if (child == 0)
        runChild(slave, directory, argv, environment, reportPipe);
    const int error = errno;
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    errno = error;
    return child;
}

// Returns what the child sent up the pipe before exec, nothing when the program runs.
std::optional<StartFailure> startFailure(int pipe)
{
    StartFailure failure;
    ssize_t count;
    while ((count = ::read(pipe, &failure, sizeof failure)) < 0 && errno == EINTR) {
    }
    if (count == sizeof failure)
        return failure;
    return std::nullopt;
}

} // namespace

PseudoTerminal::PseudoTerminal(const std::vector<std::string>& argv, const std::string& directory, Size size)
{
    UniqueFd slave;
    openTerminal(m_master, slave, size);
    std::vector<std::string> arguments = argv;
    std::vector<char*> argumentPointers = pointersTo(arguments);
    std::vector<std::string> environment = childEnvironment();
    std::vector<char*> environmentPointers = pointersTo(environment);
    int report[2];
    if (PlatformCalls::makeCloseOnExecPipe(report) != 0)
        throwSystemError(errno, directory);
    UniqueFd reportRead(report[0]);
    UniqueFd reportWrite(report[1]);

    m_child = startChild(slave.get(), directory.c_str(), argumentPointers.data(), environmentPointers.data(),
        reportWrite.get());
    if (m_child < 0)
        throwSystemError(errno, argv[0]);
    reportWrite.reset();
    if (const std::optional<StartFailure> failure = startFailure(reportRead.get())) {
        exitCode(true);
        throwSystemError(failure->error, failure->step == StartFailure::enterFolder ? directory : argv[0]);
    }
}

PseudoTerminal::~PseudoTerminal()
{
    if (!m_exitCode) {
        kill();
        exitCode(true);
    }
}

void PseudoTerminal::resize(Size size)
{
    const winsize window = windowSize(size);
    ::ioctl(m_master.get(), TIOCSWINSZ, &window);
}

bool PseudoTerminal::signalsInterrupts() const
{
    termios modes {};
    return ::tcgetattr(m_master.get(), &modes) == 0 && (modes.c_lflag & ISIG);
}

void PseudoTerminal::kill()
{
    // Once waited for, its number may be another process's.
    if (m_exitCode)
        return;
    const pid_t foreground = ::tcgetpgrp(m_master.get());
    ::kill(-m_child, SIGKILL);
    if (foreground > 0 && foreground != m_child)
        ::kill(-foreground, SIGKILL);
}

std::optional<int> PseudoTerminal::exitCode(bool wait)
{
    if (m_exitCode)
        return m_exitCode;
    int status = 0;
    pid_t waited;
    while ((waited = ::waitpid(m_child, &status, wait ? 0 : WNOHANG)) < 0 && errno == EINTR) {
    }
    if (waited == m_child)
        m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? WTERMSIG(status) : -1;
    else if (waited < 0)
        m_exitCode = -1;
    return m_exitCode;
}

} // namespace kiv
