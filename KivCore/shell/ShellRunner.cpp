#include "shell/ShellRunner.h"

#include "base/HashMix.h"
#include "base/PlatformCalls.h"
#include "base/UniqueFd.h"
#include "text/Utf8Text.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

extern char** environ;

namespace kiv::ShellRunner {

namespace {

constexpr int roomyPipeBytes = 1 << 20;
constexpr std::size_t readChunkBytes = 1 << 16;
// After a small read the reader waits this long before looking again, so a child that writes
// line by line (unzip does) fills the pipe in bulk instead of waking the reader per line.
constexpr long gatherPauseNanoseconds = 500'000;
// How often a run that may be stopped or signalled asks whether to signal.
constexpr int signalPollMilliseconds = 100;

struct Pipe
{
    UniqueFd readEnd;
    UniqueFd writeEnd;
};

// Both ends close on exec, so no child keeps a pipe open by accident: the one child that
// should write gets its end through the dup2 onto 1 or 2. Returns 0 or the errno.
int makePipe(Pipe& pipe)
{
    int fds[2];
    if (PlatformCalls::makeCloseOnExecPipe(fds) != 0)
        return errno;
    // A roomy pipe lets a chatty child keep writing while the reader gathers.
    PlatformCalls::enlargePipeBuffer(fds[0], roomyPipeBytes);
    pipe.readEnd.reset(fds[0]);
    pipe.writeEnd.reset(fds[1]);
    return 0;
}

// Owns the two posix_spawn descriptions for the length of one start.
struct SpawnSetup
{
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;

    SpawnSetup()
    {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup()
    {
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

// The child starts with no blocked signals and the default SIGPIPE, whatever the host set up,
// so pipelines inside a shell line end the way they do in a terminal.
void resetSignals(posix_spawnattr_t& attributes)
{
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    sigaddset(&signals, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
}

// Returns 0 with the child's id, or the errno that kept it from starting.
int spawnChild(const std::string& executable, const std::vector<std::string>& argv,
    const std::optional<std::string>& directory, const Pipe& out, const Pipe& err, pid_t& child,
    bool ownGroup)
{
    SpawnSetup setup;
    // Our own standard input may be the terminal we were started from: a child that reads it
    // would wait there forever, unseen, so children read from nothing instead.
    posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.actions, out.writeEnd.get(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&setup.actions, err.writeEnd.get(), STDERR_FILENO);
    if (directory)
        posix_spawn_file_actions_addchdir_np(&setup.actions, directory->c_str());
    resetSignals(setup.attributes);
    if (ownGroup) {
        // A group of its own, so a signal reaches the programs it started (tar's gzip, the
        // commands of a shell line) too, and nothing else.
        posix_spawnattr_setpgroup(&setup.attributes, 0);
        short flags = 0;
        posix_spawnattr_getflags(&setup.attributes, &flags);
        posix_spawnattr_setflags(&setup.attributes, static_cast<short>(flags | POSIX_SPAWN_SETPGROUP));
    }

    std::vector<char*> arguments;
    arguments.reserve(argv.size() + 1);
    for (const auto& argument : argv)
        arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    return posix_spawn(
        &child, executable.c_str(), &setup.actions, &setup.attributes, arguments.data(), environ);
}

// Reads both pipes until both reach their end, whichever has data first, so a child that
// fills one pipe while keeping the other open never stalls the capture. With `signals`, asks it
// between reads and sends what it says to the child's group.
void drainTogether(const Pipe& out, const Pipe& err, const OutputSink& onOutput, const OutputSink& onError,
    const SignalSource* signals, pid_t child)
{
    std::array<pollfd, 2> streams { { { out.readEnd.get(), POLLIN, 0 }, { err.readEnd.get(), POLLIN, 0 } } };
    std::array<const OutputSink*, 2> sinks { &onOutput, &onError };
    std::vector<char> buffer(readChunkBytes);
    int open = 2;
    while (open > 0) {
        if (const int signal = signals ? (*signals)() : 0; signal != 0)
            ::kill(-child, signal);
        const int ready = ::poll(streams.data(), streams.size(), signals ? signalPollMilliseconds : -1);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        std::size_t roundBytes = 0;
        for (std::size_t i = 0; i < streams.size(); ++i) {
            if (streams[i].fd < 0 || streams[i].revents == 0)
                continue;
            auto count = ::read(streams[i].fd, buffer.data(), buffer.size());
            if (count > 0) {
                (*sinks[i])(std::string_view(buffer.data(), static_cast<std::size_t>(count)));
                roundBytes += static_cast<std::size_t>(count);
            } else if (count == 0 || errno != EINTR) {
                streams[i].fd = -1; // poll skips negative descriptors
                --open;
            }
        }
        if (open > 0 && roundBytes > 0 && roundBytes < readChunkBytes / 2) {
            timespec pause { 0, gatherPauseNanoseconds };
            ::nanosleep(&pause, nullptr);
        }
    }
}

std::int32_t waitForExit(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return WTERMSIG(status);
    return -1;
}

std::string reasonText(int errorNumber, const std::string& path)
{
    return std::generic_category().message(errorNumber) + ": " + path;
}

// The start fails both for a missing executable and for a working folder that cannot be
// entered; name the folder when it is the culprit, so the user knows what to fix.
std::string launchFailureReason(
    int spawnError, const std::string& executable, const std::optional<std::string>& directory)
{
    if (directory) {
        struct stat status = {};
        if (::stat(directory->c_str(), &status) != 0)
            return reasonText(errno, *directory);
        if (!S_ISDIR(status.st_mode))
            return reasonText(ENOTDIR, *directory);
        if (::access(directory->c_str(), X_OK) != 0)
            return reasonText(errno, *directory);
    }
    return reasonText(spawnError, executable);
}

// Starts `executable` and hands each stream to its sink when given, else collects it in the
// result; with `signals` the child gets a process group of its own and the signals it asks for.
Result runExecutable(const std::string& executable, const std::vector<std::string>& argv,
    const std::optional<std::string>& directory, const std::string& failurePrefix, const OutputSink* onOutput,
    const OutputSink* onError = nullptr, const SignalSource* signals = nullptr)
{
    Pipe out, err;
    pid_t child = 0;
    int error = makePipe(out);
    if (error == 0)
        error = makePipe(err);
    if (error == 0)
        error = spawnChild(executable, argv, directory, out, err, child, signals != nullptr);
    if (error != 0)
        return { -1, {}, failurePrefix + launchFailureReason(error, executable, directory) };

    // Only the child may hold the write ends now, or the pipes would never report their end.
    out.writeEnd.reset();
    err.writeEnd.reset();
    Result result;
    OutputSink collectOutput = [&](std::string_view bytes) { result.stdout.append(bytes); };
    OutputSink collectError = [&](std::string_view bytes) { result.stderr.append(bytes); };
    drainTogether(
        out, err, onOutput ? *onOutput : collectOutput, onError ? *onError : collectError, signals, child);
    result.exitCode = waitForExit(child);
    return result;
}

Result decoded(Result result)
{
    result.stdout = Utf8Text::decodingLossily(std::move(result.stdout));
    result.stderr = Utf8Text::decodingLossily(std::move(result.stderr));
    return result;
}

std::string userShell()
{
    if (const char* shell = std::getenv("SHELL"); shell && *shell)
        return shell;
    return ::access("/bin/zsh", X_OK) == 0 ? "/bin/zsh" : "/bin/sh";
}

} // namespace

Result runShellLine(const std::string& line, const std::string& directory)
{
    auto shell = userShell();
    return decoded(
        runExecutable(shell, { shell, "-l", "-c", line }, directory, "Failed to launch shell: ", nullptr));
}

Result runShellLineLive(const std::string& line, const std::string& directory, const OutputSink& onOutput,
    const OutputSink& onError, const SignalSource& nextSignal)
{
    auto shell = userShell();
    return runExecutable(shell, { shell, "-l", "-c", line }, directory, "Failed to launch shell: ", &onOutput,
        &onError, &nextSignal);
}

} // namespace kiv::ShellRunner

std::size_t std::hash<kiv::ShellRunner::Result>::operator()(
    const kiv::ShellRunner::Result& result) const noexcept
{
    auto seed = std::hash<std::int32_t> {}(result.exitCode);
    seed = kiv::hashMix(seed, result.stdout);
    return kiv::hashMix(seed, result.stderr);
}
