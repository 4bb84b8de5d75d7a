#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

struct ssh_session_struct;
struct ssh_channel_struct;

namespace kiv {

class JobControl;
class RemoteError;

// The byte stream of one SFTP subsystem channel cut into packets: requests go out whole, replies
// are matched to their request ids whatever order they come in. A server that sends nothing for
// `silenceLimit` while a reply is awaited, or closes the channel, has lost the connection: every
// later call then throws RemoteError::connectionLost at once. Used by one thread at a time.
class SftpChannel
{
public:
    // One reply: its type, the id of the request it answers and the fields after the id.
    struct Reply
    {
        std::uint8_t type = 0;
        std::uint32_t id = 0;
        std::string body;
    };

    // Takes over `channel`, on which the sftp subsystem has started; `where` names the server
    // in messages ("sftp://me@host").
    SftpChannel(ssh_channel_struct* channel, std::string where, std::chrono::milliseconds silenceLimit);
    SftpChannel(const SftpChannel&) = delete;
    SftpChannel& operator=(const SftpChannel&) = delete;
    // Closes and frees the channel.
    ~SftpChannel();

    // Starts the protocol: sends init and returns the server's version packet's body (version
    // and extensions).
    std::string initialize(const JobControl* control);
    // A fresh request id, counted as awaited until its reply is received or abandoned.
    std::uint32_t nextId();
    // Sends one whole packet, waiting for the channel's window where it is full. A packet is never
    // cut by cancellation, which would garble the stream.
    void send(const std::string& packet);
    // Waits for the reply to request `id`. Throws JobCancelled when `control` (may be null) is
    // cancelled meanwhile, RemoteError when the connection is lost or the server breaks the protocol.
    Reply receive(std::uint32_t id, const JobControl* control);
    // The reply to `id` will not be waited for; it is dropped when it comes.
    void abandon(std::uint32_t id);
    // True once the connection was found lost.
    bool isLost() const { return !m_lostBecause.empty(); }

private:
    void readMore(const JobControl* control);
    // Waits until the server lets more bytes go out, keeping what it sends meanwhile.
    void waitForWindow();
    bool takeReply(Reply& reply);
    [[noreturn]] void lose(const std::string& because);
    void throwIfLost() const;
    RemoteError lostError() const;

    ssh_channel_struct* m_channel;
    std::string m_where;
    std::chrono::milliseconds m_silenceLimit;
    std::string m_input;
    std::size_t m_consumed = 0;
    std::uint32_t m_lastId = 0;
    std::unordered_set<std::uint32_t> m_awaited;
    std::unordered_set<std::uint32_t> m_abandoned;
    std::unordered_map<std::uint32_t, Reply> m_early;
    std::string m_lostBecause;
};

} // namespace kiv
