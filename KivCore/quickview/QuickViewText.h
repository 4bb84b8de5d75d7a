#pragma once

#include "quickview/QuickSummary.h"

#include <string>

// The text the quick view shows for one item's summary.
namespace kiv::QuickViewText {

// Returns what the quick view shows of `summary`: a line saying what the item is (with a link's
// target first), then a file's first screen or its dump, a folder's or an archive's counts and
// bytes, or why it could not be read.
std::string of(const QuickSummary& summary);

// Returns the line the quick view shows while a folder or archive is still being counted, with
// `items` found so far.
std::string counting(std::int64_t items);

} // namespace kiv::QuickViewText
