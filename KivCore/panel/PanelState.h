#pragma once

#include "base/FileEntry.h"
#include "panel/ListingJob.h"
#include "panel/PanelLocation.h"
#include "panel/SortOrder.h"
#include "text/NamePatterns.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kiv {

// The model of one panel: where it is, what it lists, which names are marked, where the cursor
// stands, whether hidden files show, and the door of the last archive entered (which keeps what it
// read of the archive). All moves go through it, and a move whose listing fails leaves the panel
// exactly where it was.
// Marks belong to names, so a marked file stays marked through relistings wherever it sorts.
class PanelState
{
public:
    // Stands at `start`, whose door is also the door of every real folder the panel goes to by
    // path; nothing listed until refresh(), nothing marked, cursor 0, hidden files off, no archive
    // kept.
    explicit PanelState(PanelLocation start);
    // Stands at the folder `startPath` of the local disk, as above.
    explicit PanelState(std::string startPath);

    // Returns the real folder `path` behind the panel's door for real folders.
    PanelLocation realFolder(std::string path) const;

    // Where the panel is; changed only by acceptMove() and goTo().
    const PanelLocation& location() const { return m_location; }

    // The rows of the last successful listing, in display order.
    const std::vector<FileEntry>& entries() const { return m_entries; }

    // The names of the marked rows.
    const std::unordered_set<std::string>& markedNames() const { return m_markedNames; }

    // Replaces the marks as a whole; names without a row are dropped at the next refresh().
    void setMarkedNames(std::unordered_set<std::string> names) { m_markedNames = std::move(names); }

    // The index into entries() of the cursor row.
    std::ptrdiff_t cursorIndex() const { return m_cursorIndex; }

    // Moves the cursor, as the panel's table does when its selected row changes.
    void setCursorIndex(std::ptrdiff_t index) { m_cursorIndex = index; }

    // Whether folder listings include names that begin with "."; archives show everything.
    bool showHidden() const { return m_showHidden; }

    // Takes effect at the next listing.
    void setShowHidden(bool show) { m_showHidden = show; }

    // The order of the rows (by name, ascending, at first); archives list "unsorted" by name.
    SortOrder sortOrder() const { return m_sortOrder; }

    // Takes effect at the next listing.
    void setSortOrder(SortOrder order) { m_sortOrder = order; }

    // Puts the cursor on the row named `name`; leaves it where it is when no row has that name.
    void placeCursorOn(std::string_view name);

    // A place to go to, the name of the row the cursor is to land on there (empty: row 0), and
    // what to do when it turns out to be a file, not a folder (a link's target, a typed path).
    struct Destination
    {
        enum class AtAFile
        {
            refuse,
            open, // as Return on the file would
            showInItsFolder, // the folder holding it, the cursor on it
        };
        PanelLocation place;
        std::string cursorName;
        AtAFile atAFile = AtAFile::refuse;
    };

    // Returns the job that lists `place` as this panel shows it now (hidden files, sort order,
    // and the door of the archive entered last, when `place` is inside it, so that the archive is
    // not read again), doing `ifGone` when the folder is gone. It reads nothing of the panel once
    // made, so any thread may run it.
    std::shared_ptr<ListingJob> listingOf(
        PanelLocation place, ListingJob::IfGone ifGone = ListingJob::IfGone::refuse) const;

    // Takes on the rows of a completed relisting of the panel's own place: keeps only the marks
    // whose names are still listed, and keeps the cursor on its name; when that name is gone, on
    // its row number, moved up to the last row when the list got shorter.
    // REQUIRES: `listed` completed, and lists location().
    void acceptRelisting(ListingJob& listed);

    // Moves to the place of a completed listing and takes on its rows, with no marks and the
    // cursor on the row named `cursorName`, else on row 0. REQUIRES: `listed` completed.
    void acceptMove(ListingJob& listed, std::string_view cursorName);

    // Lists the place here and now and goes there, as acceptMove() does. When it cannot be
    // listed, throws what refused it and changes nothing.
    void goTo(PanelLocation place, std::string_view cursorName = {});

    // As goTo() for the real folder `path` (see realFolder()).
    void goTo(const std::string& path);

    // Relists the current place here and now, as acceptRelisting() does. A place that cannot be
    // listed throws (KivError::notADirectory or the platform error) and changes nothing. An
    // archive is read once and then served from what was read, so changes to the archive file are
    // not seen until another archive has been entered.
    void refresh();

    // Where entering the row leads (a folder, the parent, an archive's root, a folder inside an
    // archive, a link at the link's own path, which lists only when it leads to a folder); on the
    // ".." row's way up the cursor lands on the row of the folder or archive just left. Nothing
    // for a row that leads nowhere (files, archives inside archives, links inside archives).
    std::optional<Destination> destinationOf(const FileEntry& entry) const;

    // Marks or unmarks the row at `index`; nothing happens for the ".." row or an index outside.
    void toggleMark(std::ptrdiff_t index);

    // What markMatching() does to the rows it matches.
    enum class MarkChange
    {
        mark,
        unmark,
    };

    // Marks, or unmarks, every row but ".." whose name `patterns` matches; other rows keep theirs.
    void markMatching(const NamePatterns& patterns, MarkChange change);

    // Marks every unmarked row but "..", and unmarks every marked one.
    void invertMarks();

    // The rows a file command works on: the marked rows in listing order, or else the cursor
    // row unless it is ".." (then nothing).
    std::vector<FileEntry> selectionForOperation() const;

    // Shows `bytes` as the size of the folder row `name`, and keeps it through relistings for as
    // long as the folder's own modification time stays the same; nothing when no folder row has
    // that name. Leaving the place forgets every such size.
    void setFolderSize(const std::string& name, std::int64_t bytes);

    // The sum of the sizes of selectionForOperation(); folders count 0 until measured.
    std::int64_t totalMarkedSize() const;

private:
    std::shared_ptr<ListingJob> listedHere(PanelLocation place) const;
    void keepArchiveDoor(const ListingJob& listed);
    const std::shared_ptr<const Door>& folderDoor() const;
    std::optional<PanelLocation> targetInFolder(const FileEntry& entry) const;
    std::optional<PanelLocation> targetInArchive(const FileEntry& entry) const;
    std::string nameInParent() const;
    std::unordered_set<std::string> marksStillListedIn(const std::vector<FileEntry>& entries) const;
    std::optional<std::ptrdiff_t> cursorRowIn(const std::vector<FileEntry>& entries) const;
    void keepCursorInsideEntries();
    bool isCursorOnEntry() const;
    // Calls `visit` for each row of selectionForOperation(), in listing order, without copying.
    template <typename Visit> void forEachSelected(Visit visit) const;
    void applyFolderSizes(std::vector<FileEntry>& entries);

    // A folder's measured size and the modification time it had then.
    struct MeasuredFolder
    {
        std::int64_t bytes;
        std::optional<FileTime> modificationDate;
    };

    std::shared_ptr<const Door> m_disk; // the door of real folders
    PanelLocation m_location;
    std::vector<FileEntry> m_entries;
    std::unordered_set<std::string> m_markedNames;
    std::ptrdiff_t m_cursorIndex = 0;
    bool m_showHidden = false;
    SortOrder m_sortOrder;
    std::shared_ptr<const Door> m_lastArchive; // the door of the last archive listed, or null
    std::unordered_map<std::string, MeasuredFolder> m_folderSizes; // by name, for the current place
};

} // namespace kiv
