#pragma once

#include "files/ItemAttributes.h"
#include "history/TreeSnapshot.h"
#include "trash/TrashedItem.h"

#include <string>
#include <vector>

namespace kiv {

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
        std::string to; // where the operation put it: new name, copy, new folder, place in the trash
        std::string info; // the trash's info file of a trashed item; empty otherwise
        TreeSnapshot made; // a copy, new folder or link as it was once made; empty otherwise
        ItemAttributes before = {}; // an item's attributes before and after an attribute change
        ItemAttributes after = {};
        bool trashed = false; // the step moved an item to the trash (addTrashed)

        bool operator==(const Step&) const = default;

        // Returns the kind of this one step of an operation of `kind`: a synchronization's steps
        // are copies and moves to the trash; every other operation's are of its own kind.
        Kind kindIn(Kind kind) const;
    };

    Kind kind;
    std::vector<Step> steps;

    bool operator==(const OperationRecord&) const = default;

    // Notes that the item at `from` was renamed or moved to `to`.
    void addMoved(std::string from, std::string to);
    // Notes that `to` was made, as a copy of `from`, as a new folder (`from` empty) or as a link to
    // `from`, and what it looks like now. Throws the platform error when `to` cannot be read.
    void addMade(std::string from, std::string to);
    // Notes that the attributes of the item at `path` went from `before` to `after`.
    void addAttributes(std::string path, const ItemAttributes& before, const ItemAttributes& after);
    // Notes that an item went to the trash.
    void addTrashed(const TrashedItem& item);

    // Returns the record as it is and leaves it empty, of the same kind: a job hands over what it did.
    OperationRecord taken();

    // Returns what the user reads after "Undo" or "Undone:": `move of 3 items`, `rename of "a.txt"`,
    // `new folder "b"`; names are the file system's bytes.
    std::string description() const;
};

} // namespace kiv
