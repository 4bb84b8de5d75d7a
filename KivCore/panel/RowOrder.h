#pragma once

#include "base/FileEntry.h"
#include "panel/SortOrder.h"

#include <vector>

// Puts a panel's rows in a sort order.
namespace kiv::RowOrder {

// Reorders `rows` by `order`: the ".." row stays first, folders stay before files, and rows
// whose keys tie keep their name order. REQUIRES: `rows` as listed (".." first, then folders,
// then files, each group in name order, or in the file system's order for SortOrder::unsorted).
void sort(std::vector<FileEntry>& rows, SortOrder order);

} // namespace kiv::RowOrder
