#pragma once

#include "base/FileEntry.h"

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

// The order in which file names are shown: case ignored, runs of digits by numeric value,
// otherwise the collation (ICU) of the locale the environment names for it at the time of the
// call (LC_ALL, else LC_COLLATE, else LANG; ICU's root order for none, "C" or "POSIX"). Ties fall
// back to a byte compare, so the order is total and the same on every run.
namespace kiv::FileNameOrder {

// The indices of `names` in that order. Each name's collation key is computed once.
std::vector<std::size_t> sortedOrder(std::span<const std::string_view> names);

// Sorts the rows by name in that order.
void sort(std::vector<FileEntry>& entries);

// True when `a` comes before `b`; for one-off comparisons (sorting uses keys instead).
bool less(std::string_view a, std::string_view b);

} // namespace kiv::FileNameOrder
