#include "remote/SshConnection.h"

#include "jobs/JobControl.h"
#include "remote/HostKeyCheck.h"
#include "remote/RemoteError.h"
#include "remote/SshLogin.h"
#include "remote/SshOption.h"

#include <algorithm>
#include <cstdlib>
#include <libssh/libssh.h>
#include <poll.h>
#include <pwd.h>
#include <unistd.h>

namespace kiv {

namespace {

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    const passwd* account = ::getpwuid(::getuid());
    return account && account->pw_dir ? account->pw_dir : "/";
}

} // namespace

SshConnection::SshConnection(const RemotePlace& place, JobControl& control, Timing timing)
    : m_session(ssh_new())
    , m_timing(timing)
{
    if (!m_session)
        throw RemoteError(RemoteError::Case::cannotConnect, "Cannot start an SSH session");
    try {
        configure(place);
        connect(control);
        noteWhereTo();
        HostKeyCheck::verify(m_session, control);
        SshLogin::logIn(m_session, control, where());
    } catch (...) {
        ssh_disconnect(m_session);
        ssh_free(m_session);
        throw;
    }
}

SshConnection::~SshConnection()
{
    ssh_disconnect(m_session);
    ssh_free(m_session);
}

void SshConnection::configure(const RemotePlace& place)
{
    // libssh's own idea of home is the account's; Tavrin's "~" is $HOME.
    const std::string sshFolder = homeFolder() + "/.ssh";
    const std::string knownHosts = sshFolder + "/known_hosts";
    const long timeoutSeconds = std::max<long>(1, (m_timing.connectLimit.count() + 999) / 1000);
    ssh_options_set(m_session, SSH_OPTIONS_SSH_DIR, sshFolder.c_str());
    ssh_options_set(m_session, SSH_OPTIONS_KNOWNHOSTS, knownHosts.c_str());
    if (ssh_options_set(m_session, SSH_OPTIONS_HOST, place.host.c_str()) != SSH_OK)
        fail("Not a host name");
    // What the place names wins over the config, as on OpenSSH's command line.
    if (!place.user.empty())
        ssh_options_set(m_session, SSH_OPTIONS_USER, place.user.c_str());
    if (place.port) {
        const unsigned int port = static_cast<unsigned int>(*place.port);
        ssh_options_set(m_session, SSH_OPTIONS_PORT, &port);
    }
    // Reads $HOME/.ssh/config, then the system's.
    if (ssh_options_parse_config(m_session, nullptr) != SSH_OK)
        fail("Cannot read the SSH configuration");
    ssh_options_set(m_session, SSH_OPTIONS_TIMEOUT, &timeoutSeconds);
    // Requests are small and each waits for its answer: Nagle's delay would hold them back.
    const int noDelay = 1;
    ssh_options_set(m_session, SSH_OPTIONS_NODELAY, &noDelay);
    m_host = SshOption::text(m_session, SSH_OPTIONS_HOST);
}

void SshConnection::noteWhereTo()
{
    m_user = SshOption::text(m_session, SSH_OPTIONS_USER);
    if (m_user.empty()) {
        const passwd* account = ::getpwuid(::getuid());
        m_user = account ? account->pw_name : "";
    }
    m_host = SshOption::text(m_session, SSH_OPTIONS_HOST);
    unsigned int port = 22;
    ssh_options_get_port(m_session, &port);
    m_port = static_cast<int>(port);
}

void SshConnection::connect(JobControl& control)
{
    // Non-blocking, so a cancel is heard and the limit holds while the server is slow.
    ssh_set_blocking(m_session, 0);
    const auto deadline = std::chrono::steady_clock::now() + m_timing.connectLimit;
    int result = ssh_connect(m_session);
    while (result == SSH_AGAIN) {
        control.throwIfCancelled();
        if (std::chrono::steady_clock::now() >= deadline)
            fail("Connecting timed out");
        if (const int fd = ssh_get_fd(m_session); fd >= 0) {
            pollfd waiting { fd, POLLIN, 0 };
            ::poll(&waiting, 1, 50);
        } else {
            ::usleep(10'000);
        }
        result = ssh_connect(m_session);
    }
    ssh_set_blocking(m_session, 1);
    if (result != SSH_OK)
        fail(ssh_get_error(m_session));
}

std::string SshConnection::where() const
{
    RemotePlace place { m_user, m_host, std::nullopt, {} };
    if (m_port != 22)
        place.port = m_port;
    return place.url();
}

ssh_channel_struct* SshConnection::openSftpChannel()
{
    ssh_channel channel = ssh_channel_new(m_session);
    if (!channel)
        fail("Cannot open a channel");
    if (ssh_channel_open_session(channel) != SSH_OK || ssh_channel_request_subsystem(channel, "sftp") != SSH_OK) {
        const std::string why = ssh_get_error(m_session);
        ssh_channel_free(channel);
        throw RemoteError(RemoteError::Case::cannotConnect, "The server " + where() + " offers no SFTP: " + why);
    }
    return channel;
}

void SshConnection::fail(const std::string& what)
{
    const std::string target = (m_host.empty() ? SshOption::text(m_session, SSH_OPTIONS_HOST) : m_host);
    throw RemoteError(RemoteError::Case::cannotConnect, "Cannot connect to " + target + ": " + what);
}

} // namespace kiv
