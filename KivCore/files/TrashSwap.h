#pragma once

#include "files/TrashedItem.h"

#include <functional>
#include <string>

namespace kiv {
class TrashBin;
} // namespace kiv

// Replacing an item with one of another kind (a file with a folder, a folder with a file), which
// the user asked for: the old item goes to the trash first, never away for good.
namespace kiv::TrashSwap {

// Moves the item at `targetPath` (a folder when `targetIsFolder`) into `trash`, then runs `putIn`,
// which puts the new item at the freed name (0, or -1 with errno); when that fails the old item
// comes back. Returns where the old item went. Throws KivError::operationFailed saying nothing was
// replaced when `trash` is null or cannot take the old item, the platform error when `putIn` fails.
TrashedItem replace(const TrashBin* trash, const std::string& targetPath, bool targetIsFolder,
    const std::function<int()>& putIn);

} // namespace kiv::TrashSwap
