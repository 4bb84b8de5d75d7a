#pragma once

#include "archives/ArchiveReader.h"
#include "doors/ReadStream.h"

#include <string>

namespace kiv {

// The data of one file member, read straight out of its archive: the archive is read up to the
// member (in a big zip only its directory and that member), then the member's bytes as asked for.
class ArchiveMemberStream : public ReadStream
{
public:
    // Opens the member `member` (a path as ArchiveTree lists it) of the archive file at
    // `archivePath`. Throws as ArchiveReader does, and KivError::operationFailed when the member
    // is missing, is not a file or is encrypted.
    ArchiveMemberStream(const std::string& archivePath, const std::string& member);

    std::int64_t size() const override { return m_size; }
    std::size_t read(std::span<char> buffer) override;

private:
    ArchiveReader m_reader;
    std::int64_t m_size = 0;
};

} // namespace kiv
