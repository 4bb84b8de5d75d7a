#pragma once

#include <cstdint>
#include <string>

namespace kiv {
class DirectoryChain;
class ItemFailures;
class JobControl;
} // namespace kiv

// Removes items with everything in them, at any depth; a link goes without what it points to.
namespace kiv::TreeRemoval {

// Removes the item `name` in the chain's current folder, asking about each failure through
// `failures` (Retry, Skip...). Each removed item counts as done on `control` when given, which is
// also checked for cancellation between items; each item that stays (skipped, or a folder holding
// what was skipped) counts in `left` when given. Returns whether the item is gone: false when it,
// or something inside it, was skipped; what was not reached stays.
bool remove(DirectoryChain& chain, const std::string& name, ItemFailures& failures, JobControl* control,
    std::int64_t* left = nullptr);

// Removes the item `name`, made by this program (a partial copy), in the chain's current folder
// as far as it can, asking nothing: its folders are made writable first, so a read-only folder
// the copy made does not keep its contents.
void removeOwn(DirectoryChain& chain, const std::string& name) noexcept;

} // namespace kiv::TreeRemoval
