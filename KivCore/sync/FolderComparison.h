#pragma once

#include "sync/SyncItem.h"

#include <string>
#include <vector>

namespace kiv {

class JobControl;

// Compares two folder trees item by item, by relative path, going into every folder both have:
// what only one side has (a folder as one item), what differs and which side is newer. Links are
// compared as links, by what they hold, and never followed.
namespace FolderComparison {

// How two files on both sides are told apart.
enum class Mode
{
    sizeAndTime, // alike when of one size and less than 2 s apart (FAT keeps times to 2 s)
    content, // alike when of one size and byte for byte the same, whatever their times
};

// Returns every difference between the trees at `leftRoot` and `rightRoot`, in path order, each
// with its proposed action (SyncItem::proposed). A folder that cannot be read is an item of
// its own. With a `control`, counts the items and bytes looked at and throws JobCancelled once it
// is cancelled. Throws the platform error when a root cannot be opened.
std::vector<SyncItem> compare(
    const std::string& leftRoot, const std::string& rightRoot, Mode mode, JobControl* control);

} // namespace FolderComparison

} // namespace kiv
