#pragma once

#include <string>

namespace kiv {
class DirectoryChain;
struct TransferSession;
} // namespace kiv

// Moves items: on one file system by renaming each item (a folder onto a folder merges, item by
// item), across file systems by copying each file and removing its source once the copy is
// complete. An item is always wholly moved or wholly where it was.
namespace kiv::TreeMove {

// Whether the item counts in the job's totals as one item (a rename) or as what it holds.
enum class Counting
{
    asOne, // a top-level item on the target's own file system
    none, // an item inside a folder being merged
};

// Moves the item `name` in `from`'s current folder to `targetName` in `to`'s current folder,
// asking about taken names and failures through the session. Returns whether the source is gone.
bool move(TransferSession& session, DirectoryChain& from, const std::string& name, DirectoryChain& to,
    const std::string& targetName, Counting counting);

// Returns whether moving the item at `path` into the folder `toFolder` is a rename, so it counts
// as one item; false when it crosses file systems or either cannot be examined.
bool isRename(const std::string& path, const std::string& toFolder);

} // namespace kiv::TreeMove
