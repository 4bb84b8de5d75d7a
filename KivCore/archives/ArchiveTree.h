#pragma once

#include "archives/ArchiveRawEntry.h"
#include "base/FileEntry.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kiv {

// An archive's members arranged as folders of panel rows. Each folder's rows are made and put in
// file-name order once, when the tree is built, so showing a folder costs only a copy of its own
// rows however often the panel shows it. Folders the archive never lists on their own are filled in.
class ArchiveTree
{
public:
    // Whether children() puts the ".." row first.
    enum class ParentRow
    {
        omit,
        include,
    };

    // An empty archive.
    ArchiveTree();
    // Arranges `members` (as ArchiveService::listRawEntries gives them).
    explicit ArchiveTree(std::vector<ArchiveRawEntry> members);

    // The rows of the virtual folder `prefix` ("" for the root, else ending in "/"): the ".." row
    // when `parentRow` includes it, then folders, then files, each group in file-name order. A
    // filled-in folder is undated; a folder row's id is its prefix. No rows for an unknown prefix.
    std::vector<FileEntry> children(std::string_view prefix, ParentRow parentRow) const;

    // The row of the member at `path` as its folder lists it ("docs/a.txt", a folder as "docs/sub/"),
    // or nothing when there is no such member.
    std::optional<FileEntry> find(std::string_view path) const;
    // The target of the link member at `path` as stored, or "" when it is no link.
    std::string linkTarget(std::string_view path) const;

    // The prefix one level up: "docs/sub/" gives "docs/", "docs/" and "" give "".
    static std::string_view parentOf(std::string_view prefix);

private:
    // Hashes std::string and std::string_view alike, so a prefix is looked up without a copy.
    struct PrefixHash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view prefix) const
        {
            return std::hash<std::string_view> {}(prefix);
        }
    };

    std::unordered_map<std::string, std::vector<FileEntry>, PrefixHash, std::equal_to<>> m_folders;
    std::unordered_map<std::string, std::string, PrefixHash, std::equal_to<>> m_linkTargets; // by member path
};

} // namespace kiv
