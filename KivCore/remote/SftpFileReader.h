#pragma once

#include "remote/SftpChannel.h"
#include "remote/SftpPacket.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kiv {

class JobControl;
class SftpSession;

// Reads one file of a server from start to end, as OpenSSH's client does: up to 64 requests of
// 32 KiB in flight, their data handed on in order.
class SftpFileReader
{
public:
    // Opens `path`. `knownSize` (from a listing) spares asking the server for it. Throws as
    // SftpSession's calls do.
    SftpFileReader(std::shared_ptr<SftpSession> session, std::string path, std::optional<std::uint64_t> knownSize,
        const JobControl* control);
    SftpFileReader(const SftpFileReader&) = delete;
    SftpFileReader& operator=(const SftpFileReader&) = delete;
    // Drops the replies still awaited and closes the file.
    ~SftpFileReader();

    // The file's size when it was opened.
    std::uint64_t size() const { return m_size; }
    // The next piece of the file, valid until the next call; empty at the file's end.
    std::string_view next();

private:
    struct Request
    {
        std::uint32_t id;
        std::uint64_t offset;
        std::uint32_t length;
    };

    void sendRequests();
    void dropRequests();

    std::shared_ptr<SftpSession> m_session;
    std::string m_path;
    const JobControl* m_control;
    std::string m_handle;
    std::uint64_t m_size = 0;
    std::uint64_t m_nextOffset = 0;
    bool m_ended = false;
    std::deque<Request> m_inFlight;
    SftpChannel::Reply m_reply; // holds the piece next() handed out
};

} // namespace kiv
