#include "archives/PackJob.h"

#include "archives/ThreadedGzipOutput.h"
#include "archives/Utf8NameLocale.h"
#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PlatformCalls.h"
#include "base/UniqueFd.h"
#include "files/FreeName.h"
#include "files/ItemFacts.h"
#include "base/PathString.h"
#include "jobs/ConflictAnswers.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "jobs/ProgressText.h"
#include "jobs/WorkTally.h"

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <array>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kiv {

namespace {

struct WriteFormat
{
    std::string_view suffix; // lower case
    int (*setFormat)(archive*);
    int (*addFilter)(archive*);
    // Whether gzip runs beside the packing instead of inside libarchive's writer.
    enum class Gzip
    {
        none,
        onItsOwnThread
    } gzip
        = Gzip::none;
};

// Tar is written as restricted pax: plain ustar where that suffices, extended headers for long
// names, big sizes and exact times.
constexpr std::array<WriteFormat, 10> writeFormats { {
    { ".zip", archive_write_set_format_zip, archive_write_add_filter_none },
    { ".tar", archive_write_set_format_pax_restricted, archive_write_add_filter_none },
    { ".tar.gz", archive_write_set_format_pax_restricted, archive_write_add_filter_none,
        WriteFormat::Gzip::onItsOwnThread },
    { ".tgz", archive_write_set_format_pax_restricted, archive_write_add_filter_none,
        WriteFormat::Gzip::onItsOwnThread },
    { ".tar.xz", archive_write_set_format_pax_restricted, archive_write_add_filter_xz },
    { ".txz", archive_write_set_format_pax_restricted, archive_write_add_filter_xz },
    { ".tar.zst", archive_write_set_format_pax_restricted, archive_write_add_filter_zstd },
    { ".tar.bz2", archive_write_set_format_pax_restricted, archive_write_add_filter_bzip2 },
    { ".7z", archive_write_set_format_7zip, archive_write_add_filter_none },
    { ".cpio", archive_write_set_format_cpio_newc, archive_write_add_filter_none },
} };

constexpr std::size_t dataBlock = 256 * 1024;

// What a tar made by hand keeps: no extended attributes, ACLs, file flags or holes. Asking the
// disk for them costs six more system calls a file, and most formats written here have no room
// for them.
constexpr int diskBehaviour = ARCHIVE_READDISK_NO_XATTR | ARCHIVE_READDISK_NO_ACL | ARCHIVE_READDISK_NO_FFLAGS
    | ARCHIVE_READDISK_NO_SPARSE;

const WriteFormat* formatFor(std::string_view archiveName)
{
    std::string lower(archiveName);
    std::transform(lower.begin(), lower.end(), lower.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const auto found = std::find_if(writeFormats.begin(), writeFormats.end(),
        [&](const WriteFormat& format) { return std::string_view(lower).ends_with(format.suffix); });
    return found == writeFormats.end() ? nullptr : &*found;
}

struct FreeWriter
{
    void operator()(archive* writing) const { archive_write_free(writing); }
};
struct FreeDiskReader
{
    void operator()(archive* reading) const { archive_read_free(reading); }
};
struct FreeEntry
{
    void operator()(archive_entry* entry) const { archive_entry_free(entry); }
};

[[noreturn]] void fail(archive* handle, const std::string& path)
{
    const char* reason = archive_error_string(handle);
    throw KivError::operationFailed(path + ": " + (reason ? reason : "cannot be packed"));
}

// Writes one archive into the open file `fd`, item by item.
class Packer
{
public:
    Packer(const WriteFormat& format, int fd, const std::string& archivePath, std::string skippedPath,
        JobControl& control)
        : m_writer(archive_write_new())
        , m_path(archivePath)
        , m_skippedPath(std::move(skippedPath))
        , m_control(control)
    {
        if (!m_writer)
            throw std::bad_alloc();
        if (format.setFormat(m_writer.get()) != ARCHIVE_OK || format.addFilter(m_writer.get()) != ARCHIVE_OK)
            fail(m_writer.get(), m_path);
        if (format.gzip == WriteFormat::Gzip::onItsOwnThread) {
            m_gzip = std::make_unique<ThreadedGzipOutput>(fd);
            m_gzip->open(m_writer.get());
        } else if (archive_write_open_fd(m_writer.get(), fd) != ARCHIVE_OK) {
            fail(m_writer.get(), m_path);
        }
    }

    // Adds `source` and everything below it under its own name; returns the number of items.
    std::int64_t add(const std::string& source)
    {
        std::unique_ptr<archive, FreeDiskReader> disk(archive_read_disk_new());
        std::unique_ptr<archive_entry, FreeEntry> entry(archive_entry_new());
        archive_read_disk_set_symlink_physical(disk.get());
        archive_read_disk_set_standard_lookup(disk.get());
        archive_read_disk_set_behavior(disk.get(), diskBehaviour);
        if (archive_read_disk_open(disk.get(), source.c_str()) != ARCHIVE_OK)
            fail(disk.get(), source);
        const std::size_t parentLength = PathString::deletingLastComponent(source).size();
        std::int64_t items = 0;
        for (;;) {
            m_control.throwIfCancelled();
            archive_entry_clear(entry.get());
            const int status = archive_read_next_header2(disk.get(), entry.get());
            if (status == ARCHIVE_EOF)
                return items;
            if (status < ARCHIVE_WARN)
                fail(disk.get(), source);
            archive_read_disk_descend(disk.get());
            const std::string path = archive_entry_pathname(entry.get());
            if (path == m_skippedPath)
                continue;
            archive_entry_set_pathname(entry.get(), path.c_str() + parentLength + 1);
            writeItem(disk.get(), entry.get(), path);
            ++items;
        }
    }

    // Ends the archive; throws when what is still buffered cannot be written.
    void close()
    {
        if (archive_write_close(m_writer.get()) != ARCHIVE_OK)
            fail(m_writer.get(), m_path);
    }

private:
    void writeItem(archive* disk, archive_entry* entry, const std::string& path)
    {
        m_control.beginItem(path, archive_entry_size(entry));
        if (archive_write_header(m_writer.get(), entry) < ARCHIVE_WARN)
            fail(m_writer.get(), path);
        if (archive_entry_filetype(entry) != AE_IFREG)
            return m_control.finishItems(1, 0);
        for (;;) {
            const la_ssize_t read = archive_read_data(disk, m_buffer.data(), m_buffer.size());
            if (read == 0)
                break;
            if (read < 0)
                fail(disk, path);
            if (archive_write_data(m_writer.get(), m_buffer.data(), static_cast<std::size_t>(read)) < 0)
                fail(m_writer.get(), m_path);
            m_control.addBytes(read);
            m_control.throwIfCancelled();
        }
        m_control.finishItems(1, 0);
    }

    std::unique_ptr<ThreadedGzipOutput> m_gzip; // before the writer, whose end still writes through it
    std::unique_ptr<archive, FreeWriter> m_writer;
    std::string m_path;
    std::string m_skippedPath;
    JobControl& m_control;
    std::vector<char> m_buffer = std::vector<char>(dataBlock); // one for all files: they are many and small
};

} // namespace

PackJob::PackJob(std::vector<std::string> sources, std::string archivePath)
    : m_sources(std::move(sources))
    , m_archivePath(std::move(archivePath))
{
    for (std::string& source : m_sources)
        source = PathString::standardizing(source);
}

bool PackJob::canWrite(std::string_view archiveName)
{
    return formatFor(archiveName) != nullptr;
}

std::string PackJob::writableSuffixes(std::string_view separator)
{
    std::string list;
    for (const WriteFormat& format : writeFormats) {
        if (!list.empty())
            list += separator;
        list += format.suffix;
    }
    return list;
}

std::string PackJob::title() const
{
    return "Pack";
}

std::string PackJob::description() const
{
    return "Pack " + ProgressText::subject(m_sources) + " into " + m_archivePath;
}

JobFootprint PackJob::footprint() const
{
    return { m_sources, { m_archivePath } };
}

JobOutcome PackJob::run(JobControl& control)
{
    const WriteFormat* format = formatFor(m_archivePath);
    if (!format)
        throw KivError::operationFailed("Unknown archive type: " + m_archivePath + "\nThe name should end in "
            + writableSuffixes(", ") + ".");
    WorkTally tally;
    const std::string folder = PathString::deletingLastComponent(m_archivePath);
    const UniqueFd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folderFd.valid())
        throwSystemError(errno, folder);
    std::string target = m_archivePath;
    bool replace = false;
    struct stat info
    {
    };
    if (::lstat(target.c_str(), &info) == 0) {
        const JobItemFacts source { m_sources.front(), 0, std::nullopt, false };
        switch (ConflictAnswers(control).resolve(source, ItemFacts::of(target, info))) {
        case ConflictAnswers::Resolution::skip:
            tally.skipped = 1;
            return tally.outcome("Packed");
        case ConflictAnswers::Resolution::keepBoth:
            target = PathString::appendingComponent(
                folder, FreeName::numbered(folderFd.get(), PathString::lastComponent(target), false));
            break;
        case ConflictAnswers::Resolution::overwrite:
            replace = true;
            break;
        }
    }
    control.startWorking();
    const std::string temporary = PathString::appendingComponent(folder, FreeName::temporary(folderFd.get()));
    UniqueFd out(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!out.valid())
        throwSystemError(errno, temporary);
    try {
        const Utf8NameLocale names;
        Packer packer(*format, out.get(), target, temporary, control);
        for (const std::string& source : m_sources)
            tally.done += packer.add(source);
        packer.close();
        const int placed = replace ? ::rename(temporary.c_str(), target.c_str())
                                   : PlatformCalls::renameExclusive(temporary.c_str(), target.c_str());
        if (placed != 0)
            throwSystemError(errno, target);
        if (!replace)
            m_report.addMade({}, target);
    } catch (...) {
        ::unlink(temporary.c_str()); // never a half archive
        try {
            throw;
        } catch (const JobCancelled&) {
            tally.cancelled = true;
        }
    }
    tally.total = tally.done;
    return tally.outcome("Packed");
}

} // namespace kiv
