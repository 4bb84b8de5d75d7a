#include "remote/HostKeyCheck.h"

#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "remote/RemoteError.h"
#include "remote/SshOption.h"

#include <libssh/libssh.h>
#include <memory>
#include <sys/stat.h>

namespace kiv::HostKeyCheck {

namespace {

struct KeyFree
{
    void operator()(ssh_key key) const { ssh_key_free(key); }
};
using KeyHolder = std::unique_ptr<ssh_key_struct, KeyFree>;

// OpenSSH's short names for the key types.
std::string shortTypeName(ssh_key key)
{
    switch (ssh_key_type(key)) {
    case SSH_KEYTYPE_ED25519:
        return "ED25519";
    case SSH_KEYTYPE_RSA:
        return "RSA";
    case SSH_KEYTYPE_DSS:
        return "DSA";
    case SSH_KEYTYPE_ECDSA_P256:
    case SSH_KEYTYPE_ECDSA_P384:
    case SSH_KEYTYPE_ECDSA_P521:
        return "ECDSA";
    case SSH_KEYTYPE_SK_ED25519:
        return "ED25519-SK";
    case SSH_KEYTYPE_SK_ECDSA:
        return "ECDSA-SK";
    default:
        return ssh_key_type_to_char(ssh_key_type(key));
    }
}

std::string serverName(ssh_session session)
{
    unsigned int port = 22;
    ssh_options_get_port(session, &port);
    return knownHostsName(SshOption::text(session, SSH_OPTIONS_HOST), static_cast<int>(port));
}

[[noreturn]] void refuseChangedKey(ssh_session session, const KeyFacts& facts)
{
    throw RemoteError(RemoteError::Case::hostKeyChanged,
        "WARNING: the host key of " + serverName(session) + " has changed. Someone may be listening in "
            + "on the connection, or the server got a new key. Its " + facts.type + " key is now "
            + facts.fingerprint + ". Tavrin does not connect, reads and writes nothing there. If the "
            + "change is expected, remove the old key from " + SshOption::text(session, SSH_OPTIONS_KNOWNHOSTS)
            + " (ssh-keygen -R) and connect again.");
}

void trustNewKey(ssh_session session, const KeyFacts& facts, JobControl& control)
{
    JobQuestion question;
    question.kind = JobQuestion::Kind::hostKey;
    question.source.path = serverName(session);
    question.message = facts.type + " key fingerprint is " + facts.fingerprint + ".";
    const JobAnswer answer = control.ask(question);
    if (answer == JobAnswer::cancel && control.isCancelled())
        throw JobCancelled();
    if (answer != JobAnswer::trust)
        throw RemoteError(RemoteError::Case::hostKeyUnknown,
            "Not connected to " + question.source.path + ": its host key was not trusted");
    // libssh appends to the file but leaves a missing folder missing.
    const std::string file = SshOption::text(session, SSH_OPTIONS_KNOWNHOSTS);
    if (const auto slash = file.rfind('/'); slash != std::string::npos && slash > 0)
        ::mkdir(file.substr(0, slash).c_str(), 0700);
    if (ssh_session_update_known_hosts(session) != SSH_OK)
        throw RemoteError(RemoteError::Case::cannotConnect,
            "Cannot add the host key to " + file + ": " + ssh_get_error(session));
}

} // namespace

KeyFacts factsOf(ssh_key key)
{
    unsigned char* hash = nullptr;
    std::size_t length = 0;
    KeyFacts facts { shortTypeName(key), {} };
    if (ssh_get_publickey_hash(key, SSH_PUBLICKEY_HASH_SHA256, &hash, &length) == SSH_OK) {
        char* text = ssh_get_fingerprint_hash(SSH_PUBLICKEY_HASH_SHA256, hash, length);
        if (text)
            facts.fingerprint = text;
        ssh_string_free_char(text);
        ssh_clean_pubkey_hash(&hash);
    }
    return facts;
}

std::string knownHostsName(const std::string& host, int port)
{
    if (port == 22)
        return host;
    std::string name(1, '[');
    name.append(host).append("]:").append(std::to_string(port));
    return name;
}

void verify(ssh_session session, JobControl& control)
{
    ssh_key rawKey = nullptr;
    if (ssh_get_server_publickey(session, &rawKey) != SSH_OK)
        throw RemoteError(RemoteError::Case::cannotConnect, "The server sent no host key");
    const KeyHolder key(rawKey);
    const KeyFacts facts = factsOf(key.get());
    switch (ssh_session_is_known_server(session)) {
    case SSH_KNOWN_HOSTS_OK:
        return;
    // A key of another type than the one known may just as well be an impostor's.
    case SSH_KNOWN_HOSTS_CHANGED:
    case SSH_KNOWN_HOSTS_OTHER:
        refuseChangedKey(session, facts);
    case SSH_KNOWN_HOSTS_NOT_FOUND:
    case SSH_KNOWN_HOSTS_UNKNOWN:
        trustNewKey(session, facts, control);
        return;
    case SSH_KNOWN_HOSTS_ERROR:
        break;
    }
    throw RemoteError(RemoteError::Case::cannotConnect,
        "Cannot check the host key of " + serverName(session) + ": " + ssh_get_error(session));
}

} // namespace kiv::HostKeyCheck
