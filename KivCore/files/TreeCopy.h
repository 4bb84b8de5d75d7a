#pragma once

#include <string>

namespace kiv {
class DirectoryChain;
struct TransferSession;
} // namespace kiv

// Copies files, links and whole folders the way a careful user would by hand: data (holes kept),
// permission bits and modification times, links copied as links, special files recreated (never
// opened). A taken name is a question; what replaces an existing item is made beside it and put
// in its place only once complete, so a failure never destroys the old item.
namespace kiv::TreeCopy {

// What happens to each source once its copy is complete.
enum class Source
{
    keep, // a copy
    remove, // a move across file systems: each file goes once its copy is there
};

// Copies the item `name` in `from`'s current folder to `targetName` in `to`'s current folder; a
// folder merges into a folder already there. Counts every item on the session's control, asks
// about taken names and failures through the session, and on cancel (JobCancelled) leaves
// complete items and removes the one it was making. Returns whether the source is gone.
bool copy(TransferSession& session, DirectoryChain& from, const std::string& name, DirectoryChain& to,
    const std::string& targetName, Source source);

} // namespace kiv::TreeCopy
