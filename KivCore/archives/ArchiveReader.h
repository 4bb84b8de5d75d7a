#pragma once

#include "archives/Utf8NameLocale.h"
#include "archives/ZipExcerpt.h"
#include "base/UniqueFd.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct archive;
struct archive_entry;

namespace kiv {

// Reads one archive file in any format and compression the archive library knows, member by
// member, on the thread that made it. Only regular files are read: a pipe or device named like
// an archive could block the reader for ever.
class ArchiveReader
{
public:
    // Opens the file at `archivePath`. With a `scope` (a member path) the reader may leave out
    // members that are neither `scope` nor below it: a zip then reads only its directory and
    // those members (ZipExcerpt). Throws the platform error when the file cannot be opened, and
    // KivError::operationFailed when it is not a regular file or no format reads it.
    explicit ArchiveReader(const std::string& archivePath, std::string_view scope = {});
    ~ArchiveReader();
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    // Steps to the next member and returns it (owned by the reader, valid until the next call),
    // or nullptr after the last. Throws KivError::operationFailed naming the archive and the
    // library's reason when the archive is damaged.
    archive_entry* next();

    // The member's path inside the archive as the program uses it (ArchiveMemberPath::safe).
    static std::string memberPath(archive_entry* entry);

    // The format and compression the library found ("GNU tar format, gzip"); known once the
    // first member has been read.
    std::string formatName() const;

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
    std::optional<ZipExcerpt> m_excerpt; // what the library reads instead of the file, if anything
    std::unique_ptr<archive, Free> m_archive;
};

} // namespace kiv
