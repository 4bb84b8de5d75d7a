#pragma once

#include "remote/RemotePlace.h"

#include <chrono>
#include <string>

struct ssh_session_struct;
struct ssh_channel_struct;

namespace kiv {

class JobControl;

// One logged-in SSH connection to a server, made as OpenSSH's client makes it: ~/.ssh/config
// (with "~" the $HOME folder) applies, the host key is checked against ~/.ssh/known_hosts, and the
// login tries the agent, the keys, then keyboard-interactive and password. Questions (an unknown
// host key, a passphrase or password) are asked through the job's control.
class SshConnection
{
public:
    struct Timing
    {
        std::chrono::milliseconds connectLimit { 20'000 }; // reaching the server and the handshake
        std::chrono::milliseconds silenceLimit { 20'000 }; // an awaited reply that long late: lost
    };

    // Connects to `place`'s server and logs in. Throws RemoteError (cannot connect, host key
    // changed or not trusted, login refused) or JobCancelled when `control` is cancelled or a
    // question is answered with Cancel.
    SshConnection(const RemotePlace& place, JobControl& control, Timing timing);
    SshConnection(const SshConnection&) = delete;
    SshConnection& operator=(const SshConnection&) = delete;
    // Says goodbye to the server, when it still listens.
    ~SshConnection();

    // The user, host (after the config's HostName) and port the connection went to.
    const std::string& user() const { return m_user; }
    const std::string& host() const { return m_host; }
    int port() const { return m_port; }
    // "sftp://user@host" (":port" when not 22), as messages name the server.
    std::string where() const;
    const Timing& timing() const { return m_timing; }

    // A new channel running the server's sftp subsystem, owned by the caller (SftpChannel).
    // Throws RemoteError when the server refuses it.
    ssh_channel_struct* openSftpChannel();

private:
    void configure(const RemotePlace& place);
    void connect(JobControl& control);
    void noteWhereTo();
    [[noreturn]] void fail(const std::string& what);

    ssh_session_struct* m_session;
    Timing m_timing;
    std::string m_user;
    std::string m_host;
    int m_port = 22;
};

} // namespace kiv
