#pragma once

#include "files/ItemAttributes.h"
#include "files/TrashedItem.h"
#include "history/TreeSnapshot.h"

#include <memory>
#include <string>
#include <vector>

namespace kiv {

class Door;

// What one file operation did, item by item, in enough detail to undo it and to do it again:
// the record an operation hands to the OperationHistory.
struct OperationRecord
{
    enum class Kind
    {
        rename,
        move,
        copy,
        makeFolder,
        moveToTrash,
        // What came out of an archive, or a new archive: an undo puts it in the trash, and a redo
        // takes it back out.
        extract,
        pack,
        attributes, // permission bits, owner, group or time changed: `from` is the item
        link, // a symbolic link made: `from` is what it points to, `to` the link
        // Folders made alike: each step is a copy, or an item moved to the trash (deleted, or
        // replaced by a copy).
        synchronize,
    };

    // One item the operation changed.
    struct Step
    {
        // Where the item was or the source of a copy; for an undone extraction or packing, its
        // place in the trash; empty for a new folder.
        std::string from;
        // Where the operation put it: new name, copy, new folder, place in the trash; empty for a
        // folder a move emptied and removed.
        std::string to;
        std::string info; // the trash's info file of a trashed item; empty otherwise
        // A copy, new folder, link or moved item as the operation left it; empty for a rename made
        // in the window, a trashed item and an undone extraction or packing.
        TreeSnapshot made;
        ItemAttributes before = {}; // an item's attributes before and after an attribute change
        ItemAttributes after = {};
        bool trashed = false; // the step moved an item to the trash (addTrashed)
        // The item of another kind that a copy or move replaced at `to`, in the trash; empty when
        // nothing was replaced.
        TrashedItem replaced = {};

        bool operator==(const Step&) const = default;

        // Returns the kind of this one step of an operation of `kind`: a synchronization's steps
        // are copies and moves to the trash; every other operation's are of its own kind.
        Kind kindIn(Kind kind) const;
    };

    Kind kind;
    std::vector<Step> steps;
    // The place whose paths the steps are, behind its door (a server's folders); null for this
    // machine's disk. Nothing of one place is ever replayed on another.
    std::shared_ptr<const Door> place = nullptr;

    bool operator==(const OperationRecord&) const = default;

    // Notes that the item at `from` was renamed to `to`.
    void addRenamed(std::string from, std::string to);
    // Notes that the item at `from` was moved to `to`, in the place of `replaced` (when set), and
    // what it looks like now where it can be read (else an undo only checks that it is there).
    void addMoved(std::string from, std::string to, TrashedItem replaced = {});
    // Notes that a move removed the folder at `from` once it had emptied it into the folder of its
    // name that was there: an undo makes it again, a redo removes it again.
    void addEmptied(std::string from);
    // Notes that `to` was made, as a copy of `from`, as a new folder (`from` empty) or as a link to
    // `from`, in the place of `replaced` (when set), and what it looks like now. Throws the platform
    // error when `to` cannot be read.
    void addMade(std::string from, std::string to, TrashedItem replaced = {});
    // Notes that the attributes of the item at `path` went from `before` to `after`.
    void addAttributes(std::string path, const ItemAttributes& before, const ItemAttributes& after);
    // Notes that an item went to the trash.
    void addTrashed(const TrashedItem& item);

    // Returns the record as it is and leaves it empty, of the same kind and place: a job hands over
    // what it did.
    OperationRecord taken();

    // Returns what the user reads after "Undo" or "Undone:": `move of 3 items`, `rename of "a.txt"`,
    // `new folder "b"`; names are the file system's bytes.
    std::string description() const;
    // Returns the snapshot of the item at `path` in the record's place; throws as TreeSnapshot::of().
    TreeSnapshot snapshotOf(const std::string& path) const;
};

} // namespace kiv
