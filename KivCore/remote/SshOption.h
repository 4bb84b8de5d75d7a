#pragma once

#include <libssh/libssh.h>
#include <string>

namespace kiv::SshOption {

// The value of a session's string option (the host after the config's HostName, the user, the
// known_hosts file...), or "" when it is not set.
std::string text(ssh_session session, ssh_options_e option);

} // namespace kiv::SshOption
