#pragma once

#include <exception>
#include <string>

namespace kiv {

// What went wrong with a server itself, as opposed to one of its files: the connection, its host
// key, the login. A file the server refuses travels as the platform errors do (ErrorText).
class RemoteError : public std::exception
{
public:
    enum class Case
    {
        cannotConnect, // the machine could not be reached or the SSH handshake failed
        hostKeyChanged, // the server's key differs from the one known_hosts keeps for it
        hostKeyUnknown, // the server's key is not known and was not trusted
        loginRefused, // every way to log in was tried and refused
        connectionLost, // a connection that worked stopped answering or closed
        protocol, // the server broke the SFTP protocol
    };

    // `message` is the whole text the user reads.
    RemoteError(Case errorCase, std::string message)
        : m_case(errorCase)
        , m_message(std::move(message))
    {
    }

    Case errorCase() const { return m_case; }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    Case m_case;
    std::string m_message;
};

} // namespace kiv
