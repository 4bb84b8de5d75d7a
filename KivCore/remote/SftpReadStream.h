#pragma once

#include "doors/ReadStream.h"
#include "remote/SftpFileReader.h"

#include <memory>
#include <string>
#include <string_view>

namespace kiv {

class SftpSession;

// A regular file of a server read from its start, as SftpDoor::read() opens it: pipelined requests
// (SftpFileReader) handed out in the pieces the caller asks for. Opened by a job, it stops waiting
// on a silent server as soon as that job is cancelled (JobControl::ofThisThread).
class SftpReadStream : public ReadStream
{
public:
    // Opens `path`, a regular file `size` bytes long when it was looked at. Throws as SftpSession's
    // calls do.
    SftpReadStream(std::shared_ptr<SftpSession> session, std::string path, std::uint64_t size);

    std::int64_t size() const override { return m_size; }
    std::size_t read(std::span<char> buffer) override;

private:
    SftpFileReader m_reader;
    std::int64_t m_size;
    std::string_view m_rest; // what the last piece holds still
};

} // namespace kiv
