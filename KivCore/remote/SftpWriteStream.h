#pragma once

#include "doors/Door.h"
#include "doors/WriteStream.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kiv {

class SftpFileWriter;
class SftpSession;

// A new file of a server written under a hidden temporary name in its target's folder and renamed
// to the target's name at commit(), as SftpDoor::write() starts it. Replacing a file keeps its
// permission bits (the temporary file has them from the start) and writes through a link to the
// file it points to; the server's own rename puts it in place at once. Opened by a job, it stops
// waiting on a silent server as soon as that job is cancelled (JobControl::ofThisThread). The owner cannot be kept:
// the new file is the logged-in user's.
class SftpWriteStream : public WriteStream
{
public:
    // Creates the temporary file for the file at `path` with the bits `permissions`; without them,
    // with those of the file it replaces, or as the server's umask makes them for a new file. A
    // link at `path` is written through with `link` followed, replaced itself with `link` itself
    // (see Door::write). Throws as SftpSession's calls do.
    SftpWriteStream(std::shared_ptr<SftpSession> session, std::string path, std::optional<std::uint32_t> permissions,
        Door::Link link);
    // Removes the temporary file unless commit() put it in place, where the server still answers.
    ~SftpWriteStream() override;

    void write(std::string_view bytes) override;
    void commit(Replace replace) override;

private:
    void finish();
    void putInPlace(const std::string& target, Replace replace);

    std::shared_ptr<SftpSession> m_session;
    std::string m_path; // as asked for, for errors
    std::string m_target; // the file it becomes: `m_path`, or the file a link there points to
    std::string m_temporary; // "" once it is no longer ours to remove
    std::unique_ptr<SftpFileWriter> m_writer; // null once finished
};

} // namespace kiv
