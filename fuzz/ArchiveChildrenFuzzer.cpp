// Fuzzes the archive tree: the first line of the input is a prefix (maybe empty), every further
// non-empty line a member path (a size may follow after a tab). The rows of that prefix, and of every folder
// reached from the root, must keep the shape a panel relies on.
#include "FuzzCheck.h"
#include "archives/ArchiveService.h"
#include "text/FileNameOrder.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

using namespace kiv;
using namespace kiv::fuzz;

namespace {

using Kind = FileEntry::Kind;

constexpr std::size_t maxFoldersWalked = 200;

std::vector<ArchiveRawEntry> membersOf(std::string_view text)
{
    auto lines = nonEmptyLines(text);
    std::vector<ArchiveRawEntry> members;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto path = lines[i];
        std::int64_t size = static_cast<std::int64_t>(i);
        if (auto tab = path.rfind('\t'); tab != std::string_view::npos) {
            std::from_chars(path.data() + tab + 1, path.data() + path.size(), size);
            path = path.substr(0, tab);
        }
        members.push_back({ std::string(path), size, "" });
    }
    return members;
}

// A path that names a file at the end of non-empty segments, so a walk from the root reaches it.
bool isReachableFile(std::string_view path)
{
    return !path.empty() && !path.starts_with('/') && !path.ends_with('/')
        && path.find("//") == std::string_view::npos;
}

void checkOrdered(const FileEntry& before, const FileEntry& after)
{
    if (before.kind == after.kind || (before.kind != Kind::directory && after.kind != Kind::directory))
        require(!FileNameOrder::less(after.name, before.name), "rows out of file-name order", after.name);
    else
        require(before.kind == Kind::directory, "a file row before a folder row", after.name);
}

void checkRow(const ArchiveService& archives, std::string_view prefix, const FileEntry& row)
{
    require(
        !row.name.empty() && row.name.find('/') == std::string::npos, "row name empty or with a /", row.id);
    require(row.id.starts_with(prefix) && row.id.substr(prefix.size()).starts_with(row.name),
        "row id is not prefix + name", row.id);
    require(!row.modificationDate && !row.permissions, "archive row with date or mode", row.id);
    auto parent = archives.parentOf(row.id);
    require(row.id.starts_with(parent), "parentOf an id is not a prefix of it", row.id);
    if (prefix.empty() || prefix.ends_with('/'))
        require(parent == prefix, "parentOf a row's id is not the folder it is listed in", row.id);
    if (row.kind == Kind::directory) {
        require(row.id.size() == prefix.size() + row.name.size() + 1 && row.id.ends_with('/'),
            "folder id is not prefix + name + /", row.id);
        require(row.size == 0, "folder row with a size", row.id);
    } else {
        require(row.id.size() == prefix.size() + row.name.size(), "file id is not prefix + name", row.id);
        require(row.kind == FileEntry::kindForRegularFile(row.name), "file row of the wrong kind", row.id);
    }
}

// Checks the rows of `prefix` and returns the ids of its folders.
std::vector<std::string> checkFolder(const ArchiveService& archives, std::string_view prefix,
    const std::vector<ArchiveRawEntry>& members, std::size_t& filesSeen)
{
    auto rows = archives.children(prefix, members, ArchiveService::ParentRow::omit);
    auto withParent = archives.children(prefix, members, ArchiveService::ParentRow::include);
    require(withParent.size() == rows.size() + 1, "the parent row is not one extra row");
    const auto& parentRow = withParent.front();
    require(parentRow.name == ".." && parentRow.kind == Kind::parentDirectory && parentRow.size == 0
            && parentRow.id == archives.parentOf(prefix),
        "first row is not the .. row of the parent", parentRow.id);
    require(std::equal(rows.begin(), rows.end(), withParent.begin() + 1), "rows change with the parent row");

    std::set<std::string> folderNames;
    std::vector<std::string> folders;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& row = rows[i];
        require(row.kind == Kind::directory || row.kind == Kind::regularFile || row.kind == Kind::archive,
            "row of a kind an archive cannot hold", row.id);
        checkRow(archives, prefix, row);
        if (i > 0)
            checkOrdered(rows[i - 1], row);
        if (row.kind == Kind::directory) {
            require(folderNames.insert(row.name).second, "folder listed twice", row.id);
            folders.push_back(row.id);
        } else {
            ++filesSeen;
        }
    }
    return folders;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto firstLineEnd = std::min(text.find('\n'), text.size());
    auto members = membersOf(text.substr(std::min(firstLineEnd + 1, text.size())));
    ArchiveService archives;
    std::size_t ignoredFiles = 0;
    checkFolder(archives, text.substr(0, firstLineEnd), members, ignoredFiles);

    // Every file below well-formed folders is reached exactly once from the root.
    std::size_t filesSeen = 0;
    std::vector<std::string> pending { "" };
    for (std::size_t walked = 0; !pending.empty() && walked < maxFoldersWalked; ++walked) {
        auto prefix = std::move(pending.back());
        pending.pop_back();
        for (auto& folder : checkFolder(archives, prefix, members, filesSeen))
            pending.push_back(std::move(folder));
    }
    if (pending.empty()) {
        auto reachable = std::count_if(
            members.begin(), members.end(), [](const auto& member) { return isReachableFile(member.path); });
        require(
            filesSeen == static_cast<std::size_t>(reachable), "a walk from the root misses or adds files");
    }
    return 0;
}
