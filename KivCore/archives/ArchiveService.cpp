#include "archives/ArchiveService.h"

#include "archives/ArchiveExtraction.h"
#include "archives/ArchiveReader.h"
#include "jobs/ItemCounter.h"
#include "text/FileNameOrder.h"

#include <archive.h>
#include <archive_entry.h>
#include <unordered_map>

namespace kiv {

namespace {

ArchiveExtraction::Selection selection(std::string_view member, ArchiveService::Member kind)
{
    if (member.ends_with('/'))
        member.remove_suffix(1);
    return { std::string(member), kind == ArchiveService::Member::folder };
}

FileEntry virtualEntry(std::string id, std::string_view name, FileEntry::Kind kind, std::int64_t size,
    std::optional<FileTime> date = std::nullopt)
{
    return FileEntry { std::move(id), std::string(name), kind, size, date, std::nullopt };
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

std::vector<FileEntry> ArchiveService::children(
    std::string_view prefix, const std::vector<ArchiveRawEntry>& rawEntries, ParentRow parentRow) const
{
    // One pass: every member below the prefix yields either its first path segment (a folder,
    // once, dated when the archive lists the folder itself) or, when nothing follows, a file. Names
    // stay views into the raw entries until the order is known, so each row is built once, in place.
    std::unordered_map<std::string_view, std::size_t> folderIndex;
    std::vector<std::string_view> folderNames;
    std::vector<std::optional<FileTime>> folderDates;
    std::vector<std::string_view> fileNames;
    std::vector<const ArchiveRawEntry*> fileMembers;
    for (const auto& entry : rawEntries) {
        std::string_view path(entry.path);
        if (!path.starts_with(prefix) || path.size() == prefix.size())
            continue;
        auto rest = path.substr(prefix.size());
        auto slash = rest.find('/');
        if (slash == std::string_view::npos) {
            fileNames.push_back(rest);
            fileMembers.push_back(&entry);
            continue;
        }
        auto [place, added] = folderIndex.try_emplace(rest.substr(0, slash), folderNames.size());
        if (added) {
            folderNames.push_back(place->first);
            folderDates.emplace_back();
        }
        if (slash + 1 == rest.size())
            folderDates[place->second] = entry.modificationDate;
    }
    auto folderOrder = FileNameOrder::sortedOrder(folderNames);
    auto fileOrder = FileNameOrder::sortedOrder(fileNames);

    std::vector<FileEntry> rows;
    rows.reserve(folderNames.size() + fileNames.size() + 1);
    if (parentRow == ParentRow::include)
        rows.push_back(virtualEntry(parentOf(prefix), "..", FileEntry::Kind::parentDirectory, 0));
    for (auto index : folderOrder) {
        auto name = folderNames[index];
        auto id = std::string(prefix).append(name).append("/");
        rows.push_back(virtualEntry(std::move(id), name, FileEntry::Kind::directory, 0, folderDates[index]));
    }
    for (auto index : fileOrder) {
        auto name = fileNames[index];
        const auto& member = *fileMembers[index];
        rows.push_back(virtualEntry(
            member.path, name, FileEntry::kindForRegularFile(name), member.size, member.modificationDate));
    }
    return rows;
}

std::string ArchiveService::parentOf(std::string_view prefix) const
{
    if (prefix.empty())
        return {};
    prefix.remove_suffix(1);
    auto slash = prefix.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(prefix.substr(0, slash + 1));
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
