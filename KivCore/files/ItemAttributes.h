#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>

namespace kiv {

// The attributes of one item that the user may change: permission bits, owner, group and
// modification time, to the nanosecond. A plain value; a link's are its own, never its target's.
struct ItemAttributes
{
    std::uint32_t permissions = 0; // the 07777 bits of the mode: rwx for each class, set-id, sticky
    std::uint32_t type = 0; // the S_IFMT bits, read but never set
    uid_t owner = 0;
    gid_t group = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    bool operator==(const ItemAttributes&) const = default;

    // Returns whether the item is a folder, not a link to one.
    bool isFolder() const;
    // Returns whether the item is a symbolic link, whose permission bits cannot be set.
    bool isLink() const;

    // Returns these attributes with each of the four (permissions, owner, group, time) that differs
    // between `from` and `to` set as in `to`: the same change made to an item that may differ
    // otherwise. Equal to *this when the item shows that change already.
    ItemAttributes changed(const ItemAttributes& from, const ItemAttributes& to) const;

    // Returns the attributes of the item at `path`, a link itself. Throws the platform error.
    static ItemAttributes of(const std::string& path);

    // Gives the item at `path`, whose attributes are `now`, those of `wanted` that differ: owner
    // and group first (changing them may clear the set-id bits), then the permission bits (not for
    // a link), then the modification time, its access time kept. Throws the platform error of the
    // first change refused; those before it stay made.
    static void apply(const std::string& path, const ItemAttributes& now, const ItemAttributes& wanted);
};

} // namespace kiv
