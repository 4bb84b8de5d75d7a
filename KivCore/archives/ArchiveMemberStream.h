#pragma once

#include "archives/ArchiveReader.h"
#include "doors/ReadStream.h"

#include <optional>
#include <string>

namespace kiv {

// The data of one file member, read straight out of its archive: the archive is read up to the
// member (in a big zip only its directory and that member), then the member's bytes as asked for.
// A hard link (a tar's second name for a file) reads the data of the member it names, which the
// archive holds once, before it.
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
    // Opens the reader on the member `member`; returns the member it is a hard link to, if any.
    std::optional<std::string> open(const std::string& archivePath, const std::string& member);
    // Steps to the member's next block of data when the last one is used up; false at the end.
    bool haveBlock();
    // Fills `buffer` with zeros up to `end` (a hole in a sparse member); returns how many.
    std::size_t zeros(std::span<char> buffer, std::int64_t end);

    std::optional<ArchiveReader> m_reader;
    std::int64_t m_size = 0;
    std::int64_t m_position = 0; // bytes handed out so far
    const char* m_block = nullptr; // the rest of the library's current block
    std::size_t m_left = 0;
    std::int64_t m_blockAt = 0; // where in the member m_block starts
    bool m_ended = false;
};

} // namespace kiv
