#include "panel/PanelState.h"

#include "archives/ArchiveTree.h"
#include "base/PathString.h"
#include "doors/DoorItem.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"

#include <algorithm>
#include <utility>

namespace kiv {

PanelState::PanelState(PanelLocation start)
    : m_disk(start.door())
    , m_location(std::move(start))
{
}

PanelState::PanelState(std::string startPath)
    : PanelState(PanelLocation::filesystem(std::move(startPath)))
{
}

PanelLocation PanelState::realFolder(std::string path) const
{
    return { m_disk, std::move(path) };
}

void PanelState::goTo(const std::string& path)
{
    goTo(realFolder(path));
}

void PanelState::goTo(PanelLocation place, std::string_view cursorName)
{
    acceptMove(*listedHere(std::move(place)), cursorName);
}

void PanelState::refresh()
{
    acceptRelisting(*listedHere(m_location));
}

void PanelState::placeCursorOn(std::string_view name)
{
    const auto found = std::find_if(
        m_entries.begin(), m_entries.end(), [&](const FileEntry& entry) { return entry.name == name; });
    if (found != m_entries.end())
        m_cursorIndex = found - m_entries.begin();
}

std::shared_ptr<ListingJob> PanelState::listingOf(PanelLocation place, ListingJob::IfGone ifGone) const
{
    if (m_lastArchive && place.isArchive() && place.door() != m_lastArchive
        && place.door()->isSamePlace(*m_lastArchive))
        place = PanelLocation(m_lastArchive, place.folder());
    using Hidden = Door::HiddenFiles;
    return std::make_shared<ListingJob>(
        ListingJob::Request { std::move(place), m_showHidden ? Hidden::show : Hidden::hide, m_sortOrder, ifGone });
}

std::shared_ptr<ListingJob> PanelState::listedHere(PanelLocation place) const
{
    auto job = listingOf(std::move(place));
    JobControl control;
    JobThread::runHere(*job, control);
    if (job->refusal())
        std::rethrow_exception(job->refusal());
    return job;
}

void PanelState::acceptRelisting(ListingJob& listed)
{
    auto rows = listed.takeRows();
    auto keptMarks = marksStillListedIn(rows);
    const auto cursorRow = cursorRowIn(rows);
    applyFolderSizes(rows);
    m_entries = std::move(rows);
    m_markedNames = std::move(keptMarks);
    if (cursorRow)
        m_cursorIndex = *cursorRow;
    keepCursorInsideEntries();
    keepArchiveDoor(listed);
}

void PanelState::acceptMove(ListingJob& listed, std::string_view cursorName)
{
    m_location = listed.listed();
    m_entries = listed.takeRows();
    m_markedNames.clear();
    m_folderSizes.clear();
    m_cursorIndex = 0;
    placeCursorOn(cursorName);
    keepArchiveDoor(listed);
}

void PanelState::keepArchiveDoor(const ListingJob& listed)
{
    if (listed.place().isArchive())
        m_lastArchive = listed.place().door();
}

// Real folders reached from the found list are the host's, where the found items lie.
const std::shared_ptr<const Door>& PanelState::folderDoor() const
{
    return m_location.isFound() ? m_location.door()->container()->door : m_location.door();
}

std::optional<PanelState::Destination> PanelState::destinationOf(const FileEntry& entry) const
{
    auto place = m_location.isArchive() ? targetInArchive(entry) : targetInFolder(entry);
    if (!place)
        return std::nullopt;
    return Destination { std::move(*place),
        entry.kind == FileEntry::Kind::parentDirectory ? nameInParent() : std::string(),
        entry.kind == FileEntry::Kind::symlink ? Destination::AtAFile::open : Destination::AtAFile::refuse };
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
        return PathString::lastComponent(m_location.archivePath());
    return PathString::lastComponent(m_location.internalPath());
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

std::optional<PanelLocation> PanelState::targetInFolder(const FileEntry& entry) const
{
    const auto& path = m_location.path();
    const auto& door = folderDoor();
    switch (entry.kind) {
    case FileEntry::Kind::parentDirectory:
        // Found items lead back to the folder searched.
        return PanelLocation(door, m_location.isFound() ? path : PathString::parentOrRoot(path));
    case FileEntry::Kind::directory:
        return PanelLocation(door, PathString::appendingComponent(path, entry.name));
    case FileEntry::Kind::archive:
        return PanelLocation::archive(PathString::appendingComponent(path, entry.name), "", door);
    case FileEntry::Kind::symlink:
        // Entered at the link's own path, so that ".." leads back here and not to the target's
        // parent; whether it leads to a folder is for its listing to find out, off this thread.
        return PanelLocation(door, PathString::appendingComponent(path, entry.name));
    case FileEntry::Kind::regularFile:
        break;
    }
    return std::nullopt;
}

std::optional<PanelLocation> PanelState::targetInArchive(const FileEntry& entry) const
{
    const std::string internalPath = m_location.internalPath();
    switch (entry.kind) {
    case FileEntry::Kind::parentDirectory:
        if (internalPath.empty())
            return PanelLocation(m_location.door()->container()->door, m_location.nearestRealDirectory());
        return PanelLocation(m_location.door(), std::string(ArchiveTree::parentOf(internalPath)));
    case FileEntry::Kind::directory:
        return PanelLocation(m_location.door(), internalPath + entry.name + "/");
    case FileEntry::Kind::archive: // archives inside archives are not entered
    case FileEntry::Kind::regularFile:
    case FileEntry::Kind::symlink:
        break;
    }
    return std::nullopt;
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
