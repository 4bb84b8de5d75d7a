#include "remote/SftpChannel.h"

#include "jobs/JobControl.h"
#include "remote/RemoteError.h"
#include "remote/SftpPacket.h"

#include <algorithm>
#include <libssh/libssh.h>
#include <poll.h>

namespace kiv {

namespace {

// Replies are a few tens of KiB; anything far larger is a broken or hostile server.
constexpr std::uint32_t largestReply = 1 << 20;
// How often a wait looks at the cancellation flag.
constexpr int pollMilliseconds = 100;

std::uint32_t bigEndian32(const char* bytes)
{
    std::uint32_t value = 0;
    for (int index = 0; index < 4; ++index)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[index]);
    return value;
}

} // namespace

SftpChannel::SftpChannel(ssh_channel_struct* channel, std::string where, std::chrono::milliseconds silenceLimit)
    : m_channel(channel)
    , m_where(std::move(where))
    , m_silenceLimit(silenceLimit)
{
}

SftpChannel::~SftpChannel()
{
    if (!isLost())
        ssh_channel_close(m_channel);
    ssh_channel_free(m_channel);
}

std::string SftpChannel::initialize(const JobControl* control)
{
    send(SftpPacketWriter(Sftp::init).u32(3).bytes());
    // The version packet has no id: read it as the reply to id 0 by its type alone.
    for (;;) {
        if (m_input.size() - m_consumed >= 5) {
            const std::uint32_t length = bigEndian32(m_input.data() + m_consumed);
            if (length < 1 || length > largestReply)
                lose("the server's SFTP greeting is malformed");
            if (m_input.size() - m_consumed >= 4 + length) {
                if (static_cast<std::uint8_t>(m_input[m_consumed + 4]) != Sftp::version)
                    lose("the server did not start SFTP");
                std::string body = m_input.substr(m_consumed + 5, length - 1);
                m_consumed += 4 + length;
                return body;
            }
        }
        readMore(control);
    }
}

std::uint32_t SftpChannel::nextId()
{
    ++m_lastId;
    m_awaited.insert(m_lastId);
    return m_lastId;
}

void SftpChannel::send(const std::string& packet)
{
    throwIfLost();
    std::string_view rest = packet;
    while (!rest.empty()) {
        const std::uint32_t window = ssh_channel_window_size(m_channel);
        if (window == 0) {
            waitForWindow();
            continue;
        }
        const auto chunk = static_cast<std::uint32_t>(std::min<std::size_t>(window, rest.size()));
        const int written = ssh_channel_write(m_channel, rest.data(), chunk);
        if (written < 0)
            lose(ssh_get_error(ssh_channel_get_session(m_channel)));
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
}

SftpChannel::Reply SftpChannel::receive(std::uint32_t id, const JobControl* control)
{
    if (auto early = m_early.find(id); early != m_early.end()) {
        Reply reply = std::move(early->second);
        m_early.erase(early);
        return reply;
    }
    for (;;) {
        Reply reply;
        if (!takeReply(reply)) {
            readMore(control);
            continue;
        }
        if (m_abandoned.erase(reply.id) != 0)
            continue;
        if (reply.id == id)
            return reply;
        m_early.emplace(reply.id, std::move(reply));
    }
}

void SftpChannel::abandon(std::uint32_t id)
{
    if (m_early.erase(id) == 0 && m_awaited.count(id) != 0)
        m_abandoned.insert(id);
}

bool SftpChannel::takeReply(Reply& reply)
{
    const std::size_t available = m_input.size() - m_consumed;
    if (available < 4)
        return false;
    const std::uint32_t length = bigEndian32(m_input.data() + m_consumed);
    if (length < 5 || length > largestReply)
        lose("the server sent a malformed SFTP packet");
    if (available < 4 + length)
        return false;
    const char* packet = m_input.data() + m_consumed + 4;
    reply.type = static_cast<std::uint8_t>(packet[0]);
    reply.id = bigEndian32(packet + 1);
    reply.body.assign(packet + 5, length - 5);
    m_consumed += 4 + length;
    // A reply to no request of ours could stand in for a real one: the stream is not to be trusted.
    if (m_awaited.erase(reply.id) == 0)
        lose("the server answered a request that was never made");
    return true;
}

void SftpChannel::waitForWindow()
{
    // A blocking read would sit out its whole timeout when the server adjusts the window but
    // sends no data: the socket is watched instead, and what arrives is taken without waiting.
    const auto waitStart = std::chrono::steady_clock::now();
    char buffer[64 * 1024];
    while (ssh_channel_window_size(m_channel) == 0) {
        const int got = ssh_channel_read_nonblocking(m_channel, buffer, sizeof buffer, 0);
        if (got > 0) {
            m_input.append(buffer, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 || ssh_channel_is_eof(m_channel) || !ssh_channel_is_open(m_channel))
            lose("the server closed the connection");
        if (std::chrono::steady_clock::now() - waitStart >= m_silenceLimit)
            lose("the server stopped answering");
        pollfd socket { ssh_get_fd(ssh_channel_get_session(m_channel)), POLLIN, 0 };
        ::poll(&socket, 1, pollMilliseconds);
    }
}

void SftpChannel::readMore(const JobControl* control)
{
    throwIfLost();
    if (m_consumed > 0 && m_consumed * 2 >= m_input.size()) {
        m_input.erase(0, m_consumed);
        m_consumed = 0;
    }
    const auto waitStart = std::chrono::steady_clock::now();
    char buffer[64 * 1024];
    for (;;) {
        const int got = ssh_channel_read_timeout(m_channel, buffer, sizeof buffer, 0, pollMilliseconds);
        if (got > 0) {
            m_input.append(buffer, static_cast<std::size_t>(got));
            return;
        }
        if (got < 0)
            lose(ssh_get_error(ssh_channel_get_session(m_channel)));
        if (ssh_channel_is_eof(m_channel) || !ssh_channel_is_open(m_channel))
            lose("the server closed the connection");
        if (control)
            control->throwIfCancelled();
        if (std::chrono::steady_clock::now() - waitStart >= m_silenceLimit)
            lose("the server stopped answering");
    }
}

void SftpChannel::lose(const std::string& because)
{
    if (m_lostBecause.empty())
        m_lostBecause = because.empty() ? "the connection failed" : because;
    throw lostError();
}

void SftpChannel::throwIfLost() const
{
    if (isLost())
        throw lostError();
}

RemoteError SftpChannel::lostError() const
{
    return RemoteError(RemoteError::Case::connectionLost, "Connection lost to " + m_where + ": " + m_lostBecause);
}

} // namespace kiv
