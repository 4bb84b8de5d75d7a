#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kiv {

class JobControl;
class SftpSession;

// Writes one new file on a server, as OpenSSH's client does: up to 64 writes of 32 KiB in flight,
// each one's answer checked. Nothing is kept when the writer goes before finish(): the file is
// removed.
class SftpFileWriter
{
public:
    // Creates `path`, which must not exist yet, with the permission bits `mode` (the server's
    // umask does not apply), or without one as the server's umask makes a new file. Throws as
    // SftpSession's calls do.
    SftpFileWriter(std::shared_ptr<SftpSession> session, std::string path, std::optional<std::uint32_t> mode,
        const JobControl* control);
    SftpFileWriter(const SftpFileWriter&) = delete;
    SftpFileWriter& operator=(const SftpFileWriter&) = delete;
    // Unless finished: closes and removes the file, best effort.
    ~SftpFileWriter();

    // Appends `data`, waiting only when the requests in flight are at their limit.
    void write(std::string_view data);
    // Waits for every write, closes the file and checks that all of it was written.
    void finish();

private:
    void awaitOldest();

    std::shared_ptr<SftpSession> m_session;
    std::string m_path;
    const JobControl* m_control;
    std::string m_handle;
    std::uint64_t m_offset = 0;
    std::deque<std::uint32_t> m_inFlight;
    bool m_finished = false;
};

} // namespace kiv
