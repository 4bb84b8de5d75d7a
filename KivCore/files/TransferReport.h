#pragma once

#include "files/TrashedItem.h"

#include <string>
#include <vector>

namespace kiv {

// What a copy, move or extraction actually did, item by item, for undo: the items it made anew
// and the items it moved whole. An item that replaced another of its own kind is not in it: taking
// it away again would not bring back what it replaced. One that replaced an item of another kind
// is, with where that item went in the trash.
class TransferReport
{
public:
    // One item: where it came from (empty when it came out of an archive) and where it is now
    // (empty for a folder a move emptied and removed).
    struct Item
    {
        std::string from;
        std::string to;
        TrashedItem replaced = {}; // the item of another kind that was at `to`, now in the trash; or empty

        bool operator==(const Item&) const = default;
    };

    // Notes that `to` was made anew, as a copy of `from`, in the place of `replaced` when that is
    // set. Reported as a folder is made, before what goes inside it; anything inside a folder
    // already noted is left out, the folder covers it.
    void addMade(const std::string& from, const std::string& to, const TrashedItem& replaced = {});
    // Notes that the item at `from` is now wholly at `to` (in the place of `replaced`, if set).
    // Reported once the item is complete, after what it holds; what was noted inside `to` before is
    // dropped, the item covers it.
    void addMoved(const std::string& from, const std::string& to, const TrashedItem& replaced = {});
    // Notes that the folder at `from` was removed once everything in it had moved into the folder
    // of its name that was there: an item with an empty `to`.
    void addEmptied(const std::string& from);

    // Returns the items in the order they were noted.
    const std::vector<Item>& items() const { return m_items; }

private:
    std::vector<Item> m_items;
};

} // namespace kiv
