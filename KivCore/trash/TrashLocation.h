#pragma once

#include <string>

namespace kiv {

// The trash that takes the items of one file system: its "files" and "info" folders, and the top
// of that file system, which the paths in its .trashinfo files are relative to.
struct TrashLocation
{
    std::string filesFolder;
    std::string infoFolder; // empty where the trash keeps no .trashinfo files (macOS)
    std::string topFolder; // empty for the home trash, whose .trashinfo paths are absolute

    bool operator==(const TrashLocation&) const = default;

    // Returns the trash for the item at `path` (absolute), making its folders where missing:
    // `homeTrash` for items on its file system; else on Linux `TOP/.Trash/UID` when `TOP/.Trash` is
    // a sticky folder and not a link, or `TOP/.Trash-UID`, TOP being the top of the item's file
    // system. Throws KivError::operationFailed when that file system has no trash and none can be
    // made there, or the platform error when `path` cannot be examined.
    static TrashLocation forItem(const std::string& path, const std::string& homeTrash);
};

} // namespace kiv
