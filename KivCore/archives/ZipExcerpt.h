#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

struct archive;

namespace kiv {

// A zip file seen as a smaller zip that holds only the members of one subtree. The archive library
// steps through every member's header to reach one; in a zip of 100,000 members that costs far
// more than reading the directory at the end of the file. This reads that directory itself, keeps
// the entries of the wanted members (copied as they are, so every offset in them stays right),
// and serves the library the file's own bytes before the directory, then the shortened directory
// and a new end record. Names the library might read differently from their bytes (not ASCII,
// with "\", or with a Unicode path field) are always kept; the caller still picks by the names
// the library gives.
class ZipExcerpt
{
public:
    // The excerpt of the zip open at `fd`, `fileSize` bytes long, holding the members whose path
    // (ArchiveMemberPath::safe) is `scope` or lies below it. Nothing when the file is not a plain
    // zip this understands (no end record, data in front that moves its offsets, several disks,
    // a damaged directory, a read error): such a file is read whole, as any other archive.
    static std::optional<ZipExcerpt> of(int fd, std::int64_t fileSize, std::string_view scope);

    // Makes `reading` read the excerpt. The excerpt must stay where it is, unmoved, until the
    // library is done with it. Returns the library's status.
    int open(archive* reading);

private:
    ZipExcerpt(int fd, std::int64_t directoryOffset, std::string tail);

    // The library's callbacks; `self` is the excerpt.
    static ssize_t read(archive* reading, void* self, const void** buffer);
    static std::int64_t seek(archive* reading, void* self, std::int64_t offset, int whence);
    static std::int64_t skip(archive* reading, void* self, std::int64_t request);

    std::int64_t size() const;

    int m_fd;
    std::int64_t m_directoryOffset; // where the file's directory begins, and the excerpt's
    std::string m_tail; // the excerpt's directory and end record
    std::int64_t m_position = 0;
    std::vector<char> m_block;
};

} // namespace kiv
