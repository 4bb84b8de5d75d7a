#include "archives/ArchiveTree.h"

#include "text/FileNameOrder.h"

#include <deque>

namespace kiv {

namespace {

// The last step of a folder's prefix: "docs/sub/" gives "sub".
std::string_view folderName(std::string_view prefix)
{
    prefix.remove_suffix(1);
    return prefix.substr(prefix.rfind('/') + 1);
}

// The last step of a file member's path.
std::string_view fileName(std::string_view path)
{
    return path.substr(path.rfind('/') + 1);
}

// Puts `indices` in the file-name order of the names `nameOf` gives them.
template <typename NameOf> void sortByName(std::vector<std::size_t>& indices, NameOf nameOf)
{
    if (indices.size() < 2)
        return;
    std::vector<std::string_view> names;
    names.reserve(indices.size());
    for (const std::size_t index : indices)
        names.push_back(nameOf(index));
    std::vector<std::size_t> sorted;
    sorted.reserve(indices.size());
    for (const std::size_t place : FileNameOrder::sortedOrder(names))
        sorted.push_back(indices[place]);
    indices = std::move(sorted);
}

// The folders while the tree is built: who is in each, before any row is made.
class Drafts
{
public:
    struct Folder
    {
        std::string prefix;
        std::optional<FileTime> date;
        std::vector<std::size_t> folders; // into all()
        std::vector<std::size_t> files; // into the members
    };

    Drafts() { add("", 0); }

    // The folder `prefix`, added with every missing folder above it. Climbs to the nearest folder
    // already known (the root always is), then adds on the way back down: no recursion, however
    // deep a hostile archive nests.
    Folder& at(std::string_view prefix)
    {
        std::string_view known = prefix;
        auto found = m_index.find(known);
        while (found == m_index.end()) {
            known = ArchiveTree::parentOf(known);
            found = m_index.find(known);
        }
        std::size_t folder = found->second;
        while (known.size() < prefix.size()) {
            known = prefix.substr(0, prefix.find('/', known.size()) + 1);
            folder = add(known, folder);
        }
        return m_folders[folder];
    }

    std::deque<Folder>& all() { return m_folders; }

private:
    std::size_t add(std::string_view prefix, std::size_t parent)
    {
        const std::size_t index = m_folders.size();
        m_folders.push_back({ std::string(prefix), std::nullopt, {}, {} });
        m_index.emplace(prefix, index);
        if (!prefix.empty())
            m_folders[parent].folders.push_back(index);
        return index;
    }

    std::deque<Folder> m_folders; // a deque: its elements never move, so m_index may view their prefixes
    std::unordered_map<std::string_view, std::size_t> m_index;
};

} // namespace

ArchiveTree::ArchiveTree()
{
    m_folders.emplace("", std::vector<FileEntry> {});
}

ArchiveTree::ArchiveTree(std::vector<ArchiveRawEntry> members)
{
    Drafts drafts;
    for (std::size_t index = 0; index < members.size(); ++index) {
        const std::string_view path = members[index].path;
        if (path.ends_with('/'))
            drafts.at(path).date = members[index].modificationDate; // the last listing wins
        else
            drafts.at(path.substr(0, path.rfind('/') + 1)).files.push_back(index);
    }
    auto& folders = drafts.all();
    for (auto& folder : folders) {
        sortByName(folder.folders, [&](std::size_t index) { return folderName(folders[index].prefix); });
        sortByName(folder.files, [&](std::size_t index) { return fileName(members[index].path); });
        std::vector<FileEntry> rows;
        rows.reserve(folder.folders.size() + folder.files.size());
        for (const std::size_t index : folder.folders) {
            const auto& child = folders[index];
            rows.push_back({ child.prefix, std::string(folderName(child.prefix)), FileEntry::Kind::directory,
                0, child.date, std::nullopt });
        }
        for (const std::size_t index : folder.files) {
            auto& member = members[index];
            std::string name(fileName(member.path));
            const auto kind
                = member.linkTarget.empty() ? FileEntry::kindForRegularFile(name) : FileEntry::Kind::symlink;
            if (!member.linkTarget.empty())
                m_linkTargets.emplace(member.path, std::move(member.linkTarget));
            rows.push_back({ std::move(member.path), std::move(name), kind, member.size,
                member.modificationDate, std::nullopt });
        }
        m_folders.emplace(folder.prefix, std::move(rows));
    }
}

std::vector<FileEntry> ArchiveTree::children(std::string_view prefix, ParentRow parentRow) const
{
    const auto found = m_folders.find(prefix);
    if (found == m_folders.end())
        return {};
    const auto& folderRows = found->second;
    std::vector<FileEntry> rows;
    rows.reserve(folderRows.size() + 1);
    if (parentRow == ParentRow::include)
        rows.push_back({ std::string(parentOf(prefix)), "..", FileEntry::Kind::parentDirectory, 0,
            std::nullopt, std::nullopt });
    rows.insert(rows.end(), folderRows.begin(), folderRows.end());
    return rows;
}

std::optional<FileEntry> ArchiveTree::find(std::string_view path) const
{
    std::string_view folder = path;
    if (folder.ends_with('/'))
        folder.remove_suffix(1);
    folder = folder.substr(0, folder.rfind('/') + 1);
    const auto found = m_folders.find(folder);
    if (path.empty() || found == m_folders.end())
        return std::nullopt;
    for (const FileEntry& row : found->second) {
        if (row.id == path)
            return row;
    }
    return std::nullopt;
}

std::string ArchiveTree::linkTarget(std::string_view path) const
{
    const auto found = m_linkTargets.find(path);
    return found == m_linkTargets.end() ? std::string() : found->second;
}

std::string_view ArchiveTree::parentOf(std::string_view prefix)
{
    if (prefix.empty())
        return {};
    prefix.remove_suffix(1);
    return prefix.substr(0, prefix.rfind('/') + 1);
}

} // namespace kiv
