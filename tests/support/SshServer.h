#pragma once

#include "jobs/JobControl.h"
#include "remote/RemotePlace.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <pwd.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "ScopedEnvironment.h"
#include "TempDir.h"

extern char** environ;

namespace kiv::test {

// A port on 127.0.0.1 that nothing listens on at the moment.
inline int freeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

// True once something accepts connections on the loopback `port`, waiting up to five seconds.
inline bool waitForListener(int port)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool up = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        if (up)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

inline std::string currentUserName()
{
    const passwd* account = ::getpwuid(::getuid());
    return account ? account->pw_name : "root";
}

// A throwaway OpenSSH server on a free port of 127.0.0.1, run as whoever runs the tests, with a
// host key and a client key of its own in a temporary folder, and a home folder for the client
// ($HOME while the server lives) whose ~/.ssh holds the client key and an empty known_hosts.
// The test fails, never skips, when /usr/sbin/sshd is missing.
class SshServer
{
public:
    SshServer()
        : m_home(scratch.folder("home"))
        , m_homeVariable("HOME", m_home.c_str())
        , m_agentVariable("SSH_AUTH_SOCK", nullptr)
    {
        if (::access("/usr/sbin/sshd", X_OK) != 0) {
            ADD_FAILURE() << "/usr/sbin/sshd is missing: install openssh-server (scripts/bootstrap.sh)";
            return;
        }
        // As root, sshd wants its privilege separation folder, which its service would make.
        if (::geteuid() == 0)
            ::mkdir("/run/sshd", 0755);
        scratch.folder("home/.ssh");
        makeKey(scratch / "host_key");
        makeKey(scratch / "home/.ssh/id_ed25519");
        std::filesystem::copy_file(scratch / "home/.ssh/id_ed25519.pub", scratch / "authorized_keys");
        start();
    }
    SshServer(const SshServer&) = delete;
    SshServer& operator=(const SshServer&) = delete;
    ~SshServer() { stop(); }

    // Starts the server again after stop(), on the same port with the same keys.
    void start()
    {
        port = freeLoopbackPort();
        writeConfig();
        const std::string portText = std::to_string(port);
        const std::string config = scratch / "sshd_config";
        const std::string log = scratch / "sshd.log";
        std::vector<const char*> arguments { "/usr/sbin/sshd", "-D", "-e", "-f", config.c_str(), "-p",
            portText.c_str(), nullptr };
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        // Never the test's own output: a server outliving a crashed test would hold ctest's pipe open.
        posix_spawn_file_actions_adddup2(&actions, 2, 1);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        const int spawned = ::posix_spawn(&m_pid, arguments[0], &actions, nullptr,
            const_cast<char* const*>(arguments.data()), environ);
        posix_spawn_file_actions_destroy(&actions);
        ASSERT_EQ(spawned, 0) << "cannot start sshd";
        ASSERT_TRUE(waitForListener(port)) << "sshd did not start: " << readFile(log);
    }

    // Stops the server and every session it runs.
    void stop()
    {
        if (m_pid <= 0)
            return;
        signalAll(SIGCONT);
        signalAll(SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

    // Freezes the server and its sessions (SIGSTOP), as a machine that stopped answering; resume()
    // thaws them.
    void freeze() { signalAll(SIGSTOP); }
    void resume() { signalAll(SIGCONT); }

    // The place of `path` on this server, as the user would type it.
    RemotePlace place(const std::string& path = {}) const
    {
        return { currentUserName(), "127.0.0.1", port, path };
    }

    // The known_hosts file of the client, and the server's public host key line.
    std::string knownHosts() const { return m_home + "/.ssh/known_hosts"; }
    std::string hostKeyLine() const { return readFile(scratch / "host_key.pub"); }
    // The fingerprint ssh-keygen gives for the host key.
    std::string hostKeyFingerprint() const
    {
        const std::string output = scratch / "fingerprint";
        const std::string command = "ssh-keygen -l -E sha256 -f '" + (scratch / "host_key.pub") + "' > '" + output + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        const std::string line = readFile(output);
        const auto start = line.find("SHA256:");
        return line.substr(start, line.find(' ', start) - start);
    }
    // Marks the host as known with its real key, as an earlier Trust would have.
    void trustHostKey() const
    {
        std::ofstream(knownHosts(), std::ios::app) << "[127.0.0.1]:" << port << " " << hostKeyLine();
    }

    TempDir scratch;
    int port = 0;

private:
    static void makeKey(const std::string& path)
    {
        const std::string command = "ssh-keygen -q -t ed25519 -N '' -C tavrin-test -f '" + path + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    void writeConfig() const
    {
        std::ofstream(scratch / "sshd_config") << "ListenAddress 127.0.0.1\n"
                                               << "HostKey " << (scratch / "host_key") << "\n"
                                               << "PidFile " << (scratch / "sshd.pid") << "\n"
                                               << "AuthorizedKeysFile " << (scratch / "authorized_keys") << "\n"
                                               << "StrictModes no\nUsePAM no\n"
                                               << "PasswordAuthentication no\nKbdInteractiveAuthentication no\n"
                                               << "PermitRootLogin prohibit-password\n"
                                               << "Subsystem sftp internal-sftp\n";
    }

    // Signals the server and all its descendants (the sessions), found through /proc.
    void signalAll(int signal) const
    {
        std::vector<pid_t> family { m_pid };
        for (std::size_t index = 0; index < family.size(); ++index)
            for (pid_t child : childrenOf(family[index]))
                family.push_back(child);
        for (pid_t member : family)
            ::kill(member, signal);
    }

    static std::vector<pid_t> childrenOf(pid_t parent)
    {
        std::vector<pid_t> children;
        for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
            const std::string name = entry.path().filename();
            if (name.find_first_not_of("0123456789") != std::string::npos)
                continue;
            std::ifstream stat(entry.path() / "stat");
            std::string line;
            std::getline(stat, line);
            const auto close = line.rfind(')');
            if (close == std::string::npos)
                continue;
            char state = 0;
            int ppid = 0;
            if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &ppid) == 2 && ppid == parent)
                children.push_back(std::stoi(name));
        }
        return children;
    }

    std::string m_home;
    ScopedEnvironment m_homeVariable;
    ScopedEnvironment m_agentVariable;
    pid_t m_pid = -1;
};

} // namespace kiv::test
