#pragma once

#include <string>

struct ssh_session_struct;

namespace kiv {

class JobControl;

// Logging in to a connected server in OpenSSH's order: the agent (SSH_AUTH_SOCK), the keys in
// ~/.ssh and those the config names (a passphrase asked when a key needs one), then
// keyboard-interactive and password, each prompt asked as a secret question. Nothing typed is kept.
namespace SshLogin {

// Logs in to `session` (connected, its host key checked); `where` names the server in questions.
// Throws RemoteError::loginRefused when every way failed, JobCancelled when a question was
// cancelled.
void logIn(ssh_session_struct* session, JobControl& control, const std::string& where);

} // namespace SshLogin

} // namespace kiv
