// Fuzzes the archive listing: the input is read as an archive file of any format. Reading may
// fail, but only with the program's own error; the member paths must be safe, and the rows of
// every folder reached from the root must keep the shape a panel relies on.
#include "FuzzCheck.h"
#include "archives/ArchiveMemberPath.h"
#include "archives/ArchiveService.h"
#include "base/KivError.h"
#include "text/FileNameOrder.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <unistd.h>

using namespace kiv;
using namespace kiv::fuzz;

namespace {

using Kind = FileEntry::Kind;

constexpr std::size_t maxFoldersWalked = 200;

// One file, written again for every input: the listing reads archives from files only.
const std::string& inputFile()
{
    static const std::string path = [] {
        std::string pattern = "/tmp/kivfuzz-archive-XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        require(fd >= 0, "cannot make the input file");
        ::close(fd);
        return pattern;
    }();
    return path;
}

std::vector<ArchiveRawEntry> listed(const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(inputFile().c_str(), "wb");
    require(
        file && std::fwrite(data, 1, size, file) == size && std::fclose(file) == 0, "cannot write the input");
    try {
        return ArchiveService().listRawEntries(inputFile());
    } catch (const KivError&) {
        return {}; // a damaged archive is refused with a reason; anything else escapes and is a crash
    }
}

// Every step names something below the folder the path is in: no "", ".", ".." and no leading "/".
void checkSafe(const ArchiveRawEntry& member)
{
    std::string_view path(member.path);
    require(!path.empty(), "member with an empty path");
    if (path.ends_with('/'))
        path.remove_suffix(1);
    while (!path.empty()) {
        const auto step = path.substr(0, path.find('/'));
        require(!step.empty() && step != "." && step != "..", "member path with an unsafe step", member.path);
        path.remove_prefix(std::min(step.size() + 1, path.size()));
    }
    require(ArchiveMemberPath::safe(member.path, member.path.ends_with('/')) == member.path,
        "a safe path is not kept as it is", member.path);
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
    require(!row.permissions, "archive row with a mode", row.id);
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
    const auto members = listed(data, size);
    std::size_t files = 0;
    for (const auto& member : members) {
        checkSafe(member);
        files += member.path.ends_with('/') ? 0 : 1;
    }

    // Every file is reached exactly once from the root.
    ArchiveService archives;
    std::size_t filesSeen = 0;
    std::vector<std::string> pending { "" };
    for (std::size_t walked = 0; !pending.empty() && walked < maxFoldersWalked; ++walked) {
        auto prefix = std::move(pending.back());
        pending.pop_back();
        for (auto& folder : checkFolder(archives, prefix, members, filesSeen))
            pending.push_back(std::move(folder));
    }
    if (pending.empty())
        require(filesSeen == files, "a walk from the root misses or adds files");
    return 0;
}
