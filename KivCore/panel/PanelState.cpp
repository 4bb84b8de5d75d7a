#include "panel/PanelState.h"

#include "files/DiskItem.h"
#include "files/PathString.h"
#include "panel/RowOrder.h"

#include <algorithm>
#include <utility>

namespace kiv {

PanelState::PanelState(std::string startPath, FileSystemService fs, ArchiveService archives)
    : m_fs(std::move(fs))
    , m_archives(std::move(archives))
    , m_location(PanelLocation::filesystem(std::move(startPath)))
{
}

void PanelState::goTo(const std::string& path)
{
    moveTo(PanelLocation::filesystem(path));
}

void PanelState::goTo(PanelLocation place)
{
    moveTo(std::move(place));
}

void PanelState::placeCursorOn(std::string_view name)
{
    const auto found = std::find_if(
        m_entries.begin(), m_entries.end(), [&](const FileEntry& entry) { return entry.name == name; });
    if (found != m_entries.end())
        m_cursorIndex = found - m_entries.begin();
}

void PanelState::refresh()
{
    // Everything that can throw happens before the first change, so a failure changes nothing.
    auto listed = listCurrentLocation();
    auto keptMarks = marksStillListedIn(listed);
    const auto cursorRow = cursorRowIn(listed);
    applyFolderSizes(listed);
    m_entries = std::move(listed);
    m_markedNames = std::move(keptMarks);
    if (cursorRow)
        m_cursorIndex = *cursorRow;
    keepCursorInsideEntries();
}

bool PanelState::activate(const FileEntry& entry)
{
    auto target = activationTarget(entry);
    if (!target)
        return false;
    if (entry.kind != FileEntry::Kind::parentDirectory) {
        moveTo(std::move(*target));
        return true;
    }
    const std::string cameFrom = nameInParent();
    moveTo(std::move(*target));
    putCursorOn(cameFrom);
    return true;
}

// The row that stands for the current place one level up: the folder, the archive file, or the
// archive's folder.
std::string PanelState::nameInParent() const
{
    if (m_location.isFound())
        return {};
    if (!m_location.isArchive())
        return PathString::lastComponent(m_location.path());
    if (m_location.internalPath().empty())
        return PathString::lastComponent(m_location.archiveURL());
    return PathString::lastComponent(m_location.internalPath());
}

void PanelState::putCursorOn(const std::string& name)
{
    const auto found = std::find_if(
        m_entries.begin(), m_entries.end(), [&](const FileEntry& entry) { return entry.name == name; });
    if (found != m_entries.end())
        m_cursorIndex = found - m_entries.begin();
}

void PanelState::moveTo(PanelLocation target)
{
    // refresh() leaves the rows alone when it throws, so only these three need putting back.
    auto previousLocation = std::exchange(m_location, std::move(target));
    auto previousMarks = std::exchange(m_markedNames, {});
    // No cursor row yet, so refresh() puts it on the first row whatever the old rows were.
    auto previousCursor = std::exchange(m_cursorIndex, -1);
    auto previousSizes = std::exchange(m_folderSizes, {});
    try {
        refresh();
    } catch (...) {
        m_location = std::move(previousLocation);
        m_markedNames = std::move(previousMarks);
        m_cursorIndex = previousCursor;
        m_folderSizes = std::move(previousSizes);
        throw;
    }
}

void PanelState::toggleMark(std::ptrdiff_t index)
{
    if (index < 0 || index >= std::ssize(m_entries))
        return;
    const auto& entry = m_entries[static_cast<std::size_t>(index)];
    if (entry.kind == FileEntry::Kind::parentDirectory)
        return;
    if (!m_markedNames.erase(entry.name))
        m_markedNames.insert(entry.name);
}

void PanelState::markMatching(const NamePatterns& patterns, MarkChange change)
{
    for (const auto& entry : m_entries) {
        if (entry.kind == FileEntry::Kind::parentDirectory || !patterns.matches(entry.name))
            continue;
        if (change == MarkChange::mark)
            m_markedNames.insert(entry.name);
        else
            m_markedNames.erase(entry.name);
    }
}

void PanelState::invertMarks()
{
    std::unordered_set<std::string> inverted;
    for (const auto& entry : m_entries) {
        if (entry.kind != FileEntry::Kind::parentDirectory && !m_markedNames.contains(entry.name))
            inverted.insert(entry.name);
    }
    m_markedNames = std::move(inverted);
}

template <typename Visit> void PanelState::forEachSelected(Visit visit) const
{
    if (!m_markedNames.empty()) {
        for (const auto& entry : m_entries) {
            if (m_markedNames.contains(entry.name))
                visit(entry);
        }
        return;
    }
    if (!isCursorOnEntry())
        return;
    const auto& cursorRow = m_entries[static_cast<std::size_t>(m_cursorIndex)];
    if (cursorRow.kind != FileEntry::Kind::parentDirectory)
        visit(cursorRow);
}

std::vector<FileEntry> PanelState::selectionForOperation() const
{
    std::vector<FileEntry> selection;
    forEachSelected([&](const FileEntry& entry) { selection.push_back(entry); });
    return selection;
}

void PanelState::setFolderSize(const std::string& name, std::int64_t bytes)
{
    const auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const FileEntry& entry) {
        return entry.kind == FileEntry::Kind::directory && entry.name == name;
    });
    if (found == m_entries.end())
        return;
    m_folderSizes[name] = { bytes, found->modificationDate };
    found->size = bytes;
    found->sizeMeasured = true;
}

// A folder whose own time changed had names added or taken away: its old size may be wrong.
void PanelState::applyFolderSizes(std::vector<FileEntry>& entries)
{
    std::unordered_map<std::string, MeasuredFolder> kept;
    for (FileEntry& entry : entries) {
        const auto found = m_folderSizes.find(entry.name);
        if (entry.kind != FileEntry::Kind::directory || found == m_folderSizes.end()
            || found->second.modificationDate != entry.modificationDate)
            continue;
        entry.size = found->second.bytes;
        entry.sizeMeasured = true;
        kept.insert(*found);
    }
    m_folderSizes = std::move(kept);
}

std::int64_t PanelState::totalMarkedSize() const
{
    std::int64_t total = 0;
    forEachSelected([&](const FileEntry& entry) { total += entry.size; });
    return total;
}

std::optional<PanelLocation> PanelState::activationTarget(const FileEntry& entry) const
{
    return m_location.isArchive() ? targetInArchive(entry) : targetInFolder(entry);
}

std::optional<PanelLocation> PanelState::targetInFolder(const FileEntry& entry) const
{
    const auto& path = m_location.path();
    switch (entry.kind) {
    case FileEntry::Kind::parentDirectory:
        // Found items lead back to the folder searched.
        return PanelLocation::filesystem(m_location.isFound() ? path : PathString::parentOrRoot(path));
    case FileEntry::Kind::directory:
        return PanelLocation::filesystem(PathString::appendingComponent(path, entry.name));
    case FileEntry::Kind::archive:
        return PanelLocation::archive(PathString::appendingComponent(path, entry.name), "");
    case FileEntry::Kind::symlink: {
        // Entered at the link's own path, so that ".." leads back here and not to the target's parent.
        auto linkPath = PathString::appendingComponent(path, entry.name);
        if (DiskItem::destination(linkPath) == DiskItem::Destination::folder)
            return PanelLocation::filesystem(std::move(linkPath));
        break;
    }
    case FileEntry::Kind::regularFile:
        break;
    }
    return std::nullopt;
}

std::optional<PanelLocation> PanelState::targetInArchive(const FileEntry& entry) const
{
    const auto& archiveURL = m_location.archiveURL();
    const auto& internalPath = m_location.internalPath();
    switch (entry.kind) {
    case FileEntry::Kind::parentDirectory:
        if (internalPath.empty())
            return PanelLocation::filesystem(m_location.nearestRealDirectory());
        return PanelLocation::archive(archiveURL, std::string(ArchiveTree::parentOf(internalPath)));
    case FileEntry::Kind::directory:
        return PanelLocation::archive(archiveURL, internalPath + entry.name + "/");
    case FileEntry::Kind::archive: // archives inside archives are not entered
    case FileEntry::Kind::regularFile:
    case FileEntry::Kind::symlink:
        break;
    }
    return std::nullopt;
}

std::vector<FileEntry> PanelState::listCurrentLocation()
{
    std::vector<FileEntry> rows;
    if (m_location.isFound()) {
        rows = m_fs.listItems(m_location.path(), m_location.foundNames());
    } else if (!m_location.isArchive()) {
        using Hidden = FileSystemService::HiddenFiles;
        using Order = FileSystemService::ListingOrder;
        rows = m_fs.listDirectory(m_location.path(), m_showHidden ? Hidden::show : Hidden::hide,
            m_sortOrder.key == SortOrder::Key::unsorted ? Order::asListed : Order::byName);
    } else {
        rows = archiveTree(m_location.archiveURL())
                   .children(m_location.internalPath(), ArchiveTree::ParentRow::include);
    }
    RowOrder::sort(rows, m_sortOrder);
    return rows;
}

const ArchiveTree& PanelState::archiveTree(const std::string& archiveURL)
{
    if (m_cachedArchiveURL != archiveURL) {
        // Listed before the cache changes, so a failure leaves the old listing in place.
        ArchiveTree listed(m_archives.listRawEntries(archiveURL));
        m_cachedArchiveTree = std::move(listed);
        m_cachedArchiveURL = archiveURL;
    }
    return m_cachedArchiveTree;
}

std::unordered_set<std::string> PanelState::marksStillListedIn(const std::vector<FileEntry>& entries) const
{
    std::unordered_set<std::string> kept;
    for (const auto& entry : entries) {
        if (m_markedNames.contains(entry.name))
            kept.insert(entry.name);
    }
    return kept;
}

std::optional<std::ptrdiff_t> PanelState::cursorRowIn(const std::vector<FileEntry>& entries) const
{
    if (!isCursorOnEntry())
        return std::nullopt;
    const std::string& name = m_entries[static_cast<std::size_t>(m_cursorIndex)].name;
    const auto found = std::find_if(
        entries.begin(), entries.end(), [&](const FileEntry& entry) { return entry.name == name; });
    if (found == entries.end())
        return std::nullopt;
    return found - entries.begin();
}

void PanelState::keepCursorInsideEntries()
{
    auto lastIndex = std::max<std::ptrdiff_t>(0, std::ssize(m_entries) - 1);
    m_cursorIndex = std::clamp<std::ptrdiff_t>(m_cursorIndex, 0, lastIndex);
}

bool PanelState::isCursorOnEntry() const
{
    return m_cursorIndex >= 0 && m_cursorIndex < std::ssize(m_entries);
}

} // namespace kiv
