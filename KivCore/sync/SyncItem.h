#pragma once

#include "sync/SyncSide.h"

#include <optional>
#include <string>
#include <vector>

namespace kiv {

// One difference between two folder trees and what the synchronization is to do about it.
struct SyncItem
{
    enum class Difference
    {
        leftOnly,
        rightOnly,
        leftNewer,
        rightNewer,
        conflict, // different, and neither is newer, or not of one kind (a file and a folder)
        unreadable, // a folder on either side could not be read: what it holds is unknown
    };

    enum class Action
    {
        copyToRight,
        copyToLeft,
        deleteLeft,
        deleteRight,
        skip,
    };

    std::string path; // relative to both folders
    std::optional<SyncSide> left; // nothing where that side has no item
    std::optional<SyncSide> right;
    Difference difference = Difference::conflict;
    Action action = Action::skip;
    std::string note = {}; // why an item could not be read

    bool operator==(const SyncItem&) const = default;

    // Returns the action proposed for `difference`: the copy from the side that has the item or
    // the newer one; nothing for a conflict or an unreadable folder. Never a deletion.
    static Action proposed(Difference difference);

    // Returns the actions the user may choose: a copy from a side that has the item, skip, and the
    // deletion of an item only one side has; only skip for an unreadable folder.
    std::vector<Action> choices() const;

    // Returns the next choice after the current action, for a key that goes round them.
    Action nextChoice() const;
};

} // namespace kiv
