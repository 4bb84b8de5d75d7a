#pragma once

#include "archives/Utf8NameLocale.h"
#include "base/UniqueFd.h"

#include <memory>
#include <string>

struct archive;
struct archive_entry;

namespace kiv {

// Reads one archive file in any format and compression the archive library knows, member by
// member, on the thread that made it. Only regular files are read: a pipe or device named like
// an archive could block the reader for ever.
class ArchiveReader
{
public:
    // Opens the file at `archivePath`. Throws the platform error when it cannot be opened, and
    // KivError::operationFailed when it is not a regular file or no format reads it.
    explicit ArchiveReader(const std::string& archivePath);
    ~ArchiveReader();
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    // Steps to the next member and returns it (owned by the reader, valid until the next call),
    // or nullptr after the last. Throws KivError::operationFailed naming the archive and the
    // library's reason when the archive is damaged.
    archive_entry* next();

    // The member's path inside the archive as the program uses it (ArchiveMemberPath::safe).
    static std::string memberPath(archive_entry* entry);

    // The library's handle, for reading the current member's data.
    archive* handle() const { return m_archive.get(); }

    // Throws KivError::operationFailed with the archive's path and the library's last complaint.
    [[noreturn]] void fail() const;

private:
    struct Free
    {
        void operator()(archive* reading) const;
    };

    Utf8NameLocale m_locale;
    std::string m_path;
    UniqueFd m_fd;
    std::unique_ptr<archive, Free> m_archive;
};

} // namespace kiv
