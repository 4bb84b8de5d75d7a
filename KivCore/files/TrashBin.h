#pragma once

#include "files/TrashedItem.h"

#include <string>

namespace kiv {

// Where a copy or move puts an item the user chose to replace with an item of another kind, so
// that nothing is lost and an undo can bring it back: the user's trash (Trash is one).
class TrashBin
{
public:
    virtual ~TrashBin() = default;

    // Moves the item at the absolute `path` away whole and returns where it went. Throws (the item
    // then stays where it was) when its file system has no trash or the move fails.
    virtual TrashedItem moveToTrash(const std::string& path) const = 0;
    // Moves `item` back to its original path. Throws when that name is taken or the item left the
    // trash; nothing changes then.
    virtual void restore(const TrashedItem& item) const = 0;
};

} // namespace kiv
