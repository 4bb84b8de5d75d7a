#pragma once

#include <cstdint>
#include <string>

namespace kiv {
class DirectoryChain;
class JobControl;
} // namespace kiv

// Measures what a job is about to work through.
namespace kiv::TreeCount {

// The number of items (the item itself, and everything below a folder) and the bytes of their
// regular files.
struct Size
{
    std::int64_t items = 0;
    std::int64_t bytes = 0;

    bool operator==(const Size&) const = default;
};

// Whether a count weighs the files or only counts the items: an item its folder calls a file is
// then counted without a look at it.
enum class Weigh
{
    bytes,
    itemsOnly,
};

// Counts the item `name` in the chain's current folder and everything below it, links never
// followed, adding to `control`'s totals as it goes when `control` is given. What cannot be read
// counts as far as it can be. Throws JobCancelled when the job is cancelled.
Size count(DirectoryChain& chain, const std::string& name, JobControl* control, Weigh weigh = Weigh::bytes);

} // namespace kiv::TreeCount
