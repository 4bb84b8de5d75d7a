#pragma once

#include "base/FileEntry.h"
#include "files/ItemAttributes.h"

#include <cstdint>
#include <optional>
#include <sys/types.h>

namespace kiv {

// What the user asks to change in the attributes of the marked items: each permission bit turned
// on, turned off or left as each item has it, and if asked the owner, the group and the
// modification time; for marked folders, whether the change reaches inside them and which items.
struct AttributeChange
{
    // Which items change: the marked ones alone, or with everything inside marked folders; of
    // those, all, only the files (whatever is not a folder) or only the folders.
    enum class Reach
    {
        markedItems,
        everything,
        filesOnly,
        foldersOnly,
    };

    std::uint32_t turnOn = 0; // permission bits (07777) set on every item changed
    std::uint32_t turnOff = 0; // bits cleared; a bit in neither stays as it is
    std::optional<uid_t> owner = std::nullopt;
    std::optional<gid_t> group = std::nullopt;
    std::optional<FileTime> modified = std::nullopt;
    Reach reach = Reach::markedItems;

    // Returns `now` with the change made.
    ItemAttributes appliedTo(const ItemAttributes& now) const;
    // Returns whether an item with the attributes `item` is one that changes.
    bool reaches(const ItemAttributes& item) const;
    // Returns whether the change goes inside the marked folders.
    bool goesInside() const { return reach != Reach::markedItems; }
};

} // namespace kiv
