#include "quickview/QuickSummary.h"

#include "archives/ArchiveReader.h"
#include "base/ArchiveFormat.h"
#include "base/ErrorText.h"
#include "base/PathString.h"
#include "base/UniqueFd.h"
#include "files/BlockRead.h"
#include "files/FolderSizeJob.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "text/PreviewText.h"

#include <archive_entry.h>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv {

namespace {

std::string specialKind(mode_t mode)
{
    if (S_ISFIFO(mode))
        return "FIFO";
    if (S_ISSOCK(mode))
        return "socket";
    return S_ISBLK(mode) ? "block device" : "character device";
}

std::string linkText(const std::string& path)
{
    char text[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), text, sizeof text);
    return length < 0 ? std::string() : std::string(text, std::size_t(length));
}

void readStart(QuickSummary& summary)
{
    // Not blocking, and checked again once open: the item may have been swapped for a FIFO.
    const UniqueFd fd(::open(summary.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0)
        throwSystemError(errno, summary.path);
    if (!S_ISREG(info.st_mode)) {
        summary.kind = QuickSummary::Kind::special;
        summary.format = specialKind(info.st_mode);
        return;
    }
    std::string bytes(QuickSummary::screenBytes, '\0');
    bytes.resize(BlockRead::fill(fd.get(), bytes.data(), bytes.size(), summary.path));
    summary.bytesRead = bytes.size();
    const auto scan = PreviewText::scanText(bytes);
    if (scan.stop == PreviewText::TextScan::Stop::notText) {
        bytes.resize(std::min(bytes.size(), QuickSummary::dumpBytes));
        summary.kind = QuickSummary::Kind::hexDump;
        summary.content = PreviewText::hexDump(bytes);
        return;
    }
    // A character the cut split in two is left out.
    bytes.resize(scan.stop == PreviewText::TextScan::Stop::end ? bytes.size() : scan.validLength);
    summary.kind = QuickSummary::Kind::text;
    summary.content = std::move(bytes);
}

void readArchive(QuickSummary& summary, JobControl* control)
{
    ArchiveReader reader(summary.path);
    summary.size = 0;
    while (archive_entry* entry = reader.next()) {
        if (control)
            control->throwIfCancelled();
        const std::string member = ArchiveReader::memberPath(entry);
        if (member.empty())
            continue; // the root itself
        (member.ends_with('/') ? summary.folders : summary.files) += 1;
        summary.size += archive_entry_size(entry);
        if (control)
            control->finishItems(1, 0);
    }
    summary.kind = QuickSummary::Kind::archive;
    summary.format = reader.formatName();
}

void readFolder(QuickSummary& summary, JobControl* control)
{
    const FolderSizeJob::Size size = FolderSizeJob::measure(summary.path, control);
    summary.kind = QuickSummary::Kind::folder;
    summary.size = size.bytes;
    summary.files = size.files;
    summary.folders = size.folders;
    summary.unreadableFolders = size.unreadable;
    summary.problem = size.lastRefusal;
}

void summarize(QuickSummary& summary, JobControl* control)
{
    struct stat info;
    if (::lstat(summary.path.c_str(), &info) != 0)
        throwSystemError(errno, summary.path);
    if (S_ISLNK(info.st_mode)) {
        summary.linkTarget = linkText(summary.path);
        if (::stat(summary.path.c_str(), &info) != 0)
            throwSystemError(errno, summary.path);
    }
    summary.size = info.st_size;
    if (S_ISDIR(info.st_mode))
        return readFolder(summary, control);
    if (!S_ISREG(info.st_mode)) {
        summary.kind = QuickSummary::Kind::special;
        summary.format = specialKind(info.st_mode);
        return;
    }
    if (ArchiveFormat::isArchiveName(PathString::lastComponent(summary.path)))
        return readArchive(summary, control);
    readStart(summary);
}

} // namespace

QuickSummary QuickSummary::of(const std::string& path, JobControl* control)
{
    QuickSummary summary;
    summary.path = path;
    try {
        summarize(summary, control);
    } catch (const JobCancelled&) {
        throw;
    } catch (const std::exception& error) {
        summary.kind = Kind::unreadable;
        summary.problem = userMessage(error);
    }
    return summary;
}

} // namespace kiv
