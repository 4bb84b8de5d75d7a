#pragma once

#include <string>

struct ssh_session_struct;
struct ssh_key_struct;

namespace kiv {

class JobControl;

// The server's host key held against ~/.ssh/known_hosts as OpenSSH keeps it (hashed entries
// too): a known key passes, an unknown one is asked about and added when trusted, a changed one
// is refused.
namespace HostKeyCheck {

// The key as OpenSSH's client shows it: "ED25519" and "SHA256:" followed by the unpadded base64
// of the key's SHA-256 hash.
struct KeyFacts
{
    std::string type;
    std::string fingerprint;
};

// Facts of `key`.
KeyFacts factsOf(ssh_key_struct* key);

// How known_hosts names the server: "host", or "[host]:port" for a port other than 22.
std::string knownHostsName(const std::string& host, int port);

// Checks the key of the connected `session`. An unknown host asks `control` a hostKey question;
// Trust appends the key to known_hosts. Throws RemoteError (hostKeyChanged, hostKeyUnknown when
// not trusted, cannotConnect when known_hosts cannot be read or written) or JobCancelled.
void verify(ssh_session_struct* session, JobControl& control);

} // namespace HostKeyCheck

} // namespace kiv
