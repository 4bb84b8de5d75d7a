#include "archives/ArchiveService.h"

#include "archives/ArchiveExtraction.h"
#include "archives/ArchiveReader.h"
#include "jobs/ItemCounter.h"

#include <archive.h>
#include <archive_entry.h>

namespace kiv {

namespace {

ArchiveExtraction::Selection selection(std::string_view member, ArchiveService::Member kind)
{
    if (member.ends_with('/'))
        member.remove_suffix(1);
    return { std::string(member), kind == ArchiveService::Member::folder };
}

std::optional<FileTime> modificationDate(archive_entry* entry)
{
    if (!archive_entry_mtime_is_set(entry))
        return std::nullopt;
    const auto since = std::chrono::seconds(archive_entry_mtime(entry))
        + std::chrono::nanoseconds(archive_entry_mtime_nsec(entry));
    return FileTime(std::chrono::duration_cast<FileTime::duration>(since));
}

} // namespace

std::vector<ArchiveRawEntry> ArchiveService::listRawEntries(
    const std::string& archivePath, JobControl* control) const
{
    ArchiveReader reader(archivePath);
    std::vector<ArchiveRawEntry> entries;
    ItemCounter counter(control);
    while (archive_entry* entry = reader.next()) {
        counter.count();
        auto path = ArchiveReader::memberPath(entry);
        if (path.empty())
            continue; // the root itself ("./" or "/")
        entries.push_back({ std::move(path), archive_entry_size(entry), modificationDate(entry),
            archive_entry_is_encrypted(entry) != 0 });
    }
    return entries;
}

void ArchiveService::extract(const std::string& archivePath, const std::string& internalEntryPath,
    Member member, const std::string& to, TransferSession& session) const
{
    ArchiveExtraction(to, &session).extract(archivePath, selection(internalEntryPath, member));
}

void ArchiveService::extract(const std::string& archivePath, const std::string& internalEntryPath,
    Member member, const std::string& to) const
{
    ArchiveExtraction(to, nullptr).extract(archivePath, selection(internalEntryPath, member));
}

void ArchiveService::extractAll(
    const std::string& archivePath, const std::string& to, TransferSession& session) const
{
    ArchiveExtraction(to, &session).extract(archivePath, {});
}

} // namespace kiv
