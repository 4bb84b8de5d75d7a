#include "archives/ArchiveReader.h"

#include "archives/ArchiveMemberPath.h"
#include "base/ErrorText.h"
#include "base/KivError.h"

#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace kiv {

namespace {

// Big reads: a compressed archive is read once from start to end.
constexpr std::size_t readBlock = 256 * 1024;

// Shown for a name the library could not give as bytes (a name flagged UTF-8 that is not).
constexpr const char* unreadableName = "(unreadable name)";

} // namespace

void ArchiveReader::Free::operator()(archive* reading) const
{
    archive_read_free(reading);
}

ArchiveReader::ArchiveReader(const std::string& archivePath, std::string_view scope)
    : m_path(archivePath)
{
    // Not blocking, so that opening a pipe returns at once and can be refused.
    m_fd.reset(::open(archivePath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!m_fd.valid())
        throwSystemError(errno, archivePath);
    struct stat info
    {
    };
    if (::fstat(m_fd.get(), &info) != 0)
        throwSystemError(errno, archivePath);
    if (!S_ISREG(info.st_mode))
        throw KivError::operationFailed("Not a regular file: " + archivePath);
    m_archive.reset(archive_read_new());
    if (!m_archive)
        throw std::bad_alloc();
    archive_read_support_filter_all(m_archive.get());
    archive_read_support_format_all(m_archive.get());
    if (!scope.empty())
        m_excerpt = ZipExcerpt::of(m_fd.get(), info.st_size, scope);
    const int opened = m_excerpt ? m_excerpt->open(m_archive.get())
                                 : archive_read_open_fd(m_archive.get(), m_fd.get(), readBlock);
    if (opened != ARCHIVE_OK)
        fail();
}

ArchiveReader::~ArchiveReader() = default;

archive_entry* ArchiveReader::next()
{
    archive_entry* entry = nullptr;
    const int status = archive_read_next_header(m_archive.get(), &entry);
    if (status == ARCHIVE_EOF)
        return nullptr;
    // A warning (a name that cannot be converted, an unknown extension) still gives the member.
    if (status < ARCHIVE_WARN)
        fail();
    return entry;
}

std::string ArchiveReader::memberPath(archive_entry* entry)
{
    const char* stored = archive_entry_pathname(entry);
    return ArchiveMemberPath::safe(
        stored ? stored : unreadableName, archive_entry_filetype(entry) == AE_IFDIR);
}

std::string ArchiveReader::formatName() const
{
    const char* format = archive_format_name(m_archive.get());
    std::string name = format ? format : "unknown format";
    // Filter 0 is the outermost: the compression around the archive, "none" where there is none.
    const char* filter
        = archive_filter_count(m_archive.get()) > 1 ? archive_filter_name(m_archive.get(), 0) : nullptr;
    if (filter && std::string_view(filter) != "none")
        name.append(", ").append(filter);
    return name;
}

void ArchiveReader::fail() const
{
    const char* reason = archive_error_string(m_archive.get());
    throw KivError::operationFailed(m_path + ": " + (reason ? reason : "unreadable archive"));
}

} // namespace kiv
