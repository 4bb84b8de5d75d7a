#include "archives/ArchiveService.h"

#include "archives/ArchiveExtraction.h"
#include "archives/ArchiveMemberPath.h"
#include "archives/ArchiveReader.h"
#include "base/ErrorText.h"
#include "base/KivError.h"
#include "jobs/ItemCounter.h"

#include <algorithm>
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

std::string linkTargetOf(archive_entry* entry)
{
    const char* target = archive_entry_symlink(entry);
    return target ? target : "";
}

// Steps to the next member after those `listed`; with `damage` and at least one member listed,
// damage that ends the reading ends the listing instead, and it or damage stepped over is noted there.
archive_entry* nextListed(
    ArchiveReader& reader, const std::vector<ArchiveRawEntry>& listed, std::string* damage)
{
    archive_entry* entry = nullptr;
    try {
        entry = reader.next();
    } catch (const KivError& error) {
        if (!damage || listed.empty())
            throw;
        *damage = userMessage(error) + " after " + listed.back().path + "; only what comes before is listed";
        return nullptr;
    }
    if (std::string stepped = reader.takeDamage(); damage && !stepped.empty() && damage->empty())
        *damage = std::move(stepped);
    return entry;
}

// The bytes of `entry`: a tar holds a hard link's data once, with the member it names (listed before).
std::int64_t sizeOf(archive_entry* entry, const std::vector<ArchiveRawEntry>& listed)
{
    const char* hardLink = archive_entry_hardlink(entry);
    if (!hardLink || archive_entry_size(entry) != 0)
        return archive_entry_size(entry);
    const std::string target = ArchiveMemberPath::safe(hardLink, false);
    const auto found = std::find_if(
        listed.rbegin(), listed.rend(), [&](const ArchiveRawEntry& member) { return member.path == target; });
    return found == listed.rend() ? 0 : found->size;
}

} // namespace

std::vector<ArchiveRawEntry> ArchiveService::listRawEntries(
    const std::string& archivePath, JobControl* control, std::string* damage) const
{
    ArchiveReader reader(archivePath);
    std::vector<ArchiveRawEntry> entries;
    ItemCounter counter(control);
    while (archive_entry* entry = nextListed(reader, entries, damage)) {
        counter.count();
        auto path = ArchiveReader::memberPath(entry);
        if (path.empty())
            continue; // the root itself ("./" or "/")
        // A link's size is that of its target text, as a link on the disk has; a hard link's is
        // that of the file it is another name for.
        std::string linkTarget = archive_entry_filetype(entry) == AE_IFLNK ? linkTargetOf(entry) : "";
        const std::int64_t size = !linkTarget.empty() ? static_cast<std::int64_t>(linkTarget.size())
                                                      : sizeOf(entry, entries);
        entries.push_back({ std::move(path), size, modificationDate(entry),
            archive_entry_is_encrypted(entry) != 0, std::move(linkTarget) });
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
