#include "archives/ArchiveService.h"

#include "archives/ArchiveReader.h"
#include "archives/StagedExtraction.h"
#include "base/ErrorText.h"
#include "base/KivError.h"
#include "shell/ShellRunner.h"
#include "text/FileNameOrder.h"

#include <archive.h>
#include <archive_entry.h>
#include <filesystem>
#include <strings.h>
#include <system_error>
#include <unordered_map>

namespace kiv {

namespace {

// The tools would read a relative path that starts with "-" as options.
std::string toolPath(const std::string& path)
{
    return path.starts_with('-') ? "./" + path : path;
}

// unzip reads member arguments as wildcard patterns and anything starting with "-" as an
// option: escape the pattern characters (and the escape itself) so the member is taken
// literally. A folder selects its own subtree only, never siblings that share its name's start.
std::string unzipPattern(std::string_view memberPath, ArchiveService::Member member)
{
    std::string pattern = memberPath.starts_with('-') ? "\\" : "";
    pattern.reserve(memberPath.size() + 4);
    for (char c : memberPath) {
        if (c == '*' || c == '?' || c == '[' || c == '\\')
            pattern += '\\';
        pattern += c;
    }
    if (member == ArchiveService::Member::folder) {
        if (!pattern.ends_with('/'))
            pattern += '/';
        pattern += '*';
    }
    return pattern;
}

void runExtractionTool(const std::string& tool, const std::vector<std::string>& arguments)
{
    auto result = ShellRunner::run(tool, arguments);
    if (result.exitCode != 0)
        throw KivError::operationFailed(result.stderr.empty() ? tool + " failed" : result.stderr);
}

bool isZip(const std::string& archivePath)
{
    return archivePath.size() >= 4 && ::strcasecmp(archivePath.c_str() + archivePath.size() - 4, ".zip") == 0;
}

void extractWithTar(
    const std::string& archivePath, const std::string& to, const std::vector<std::string>& members)
{
    std::vector<std::string> arguments { "-xf", toolPath(archivePath), "-C", to };
    if (!members.empty()) {
        arguments.push_back("--"); // members are data, never options
        arguments.insert(arguments.end(), members.begin(), members.end());
    }
    runExtractionTool("tar", arguments);
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

std::vector<ArchiveRawEntry> ArchiveService::listRawEntries(const std::string& archivePath) const
{
    ArchiveReader reader(archivePath);
    std::vector<ArchiveRawEntry> entries;
    while (archive_entry* entry = reader.next()) {
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
    Member member, const std::string& to) const
{
    StagedExtraction::run(to, [&](const std::string& staging) {
        if (isZip(archivePath))
            runExtractionTool("unzip",
                { "-o", toolPath(archivePath), unzipPattern(internalEntryPath, member), "-d", staging });
        else
            extractWithTar(archivePath, staging, { internalEntryPath });
    });
}

void ArchiveService::extractAll(const std::string& archivePath, const std::string& to) const
{
    StagedExtraction::run(to, [&](const std::string& staging) {
        if (isZip(archivePath))
            runExtractionTool("unzip", { "-o", toolPath(archivePath), "-d", staging });
        else
            extractWithTar(archivePath, staging, {});
    });
}

} // namespace kiv
