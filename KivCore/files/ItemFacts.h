#pragma once

#include "jobs/JobQuestion.h"

#include <string>
#include <sys/stat.h>

// What the jobs need to know of one item on disk.
namespace kiv::ItemFacts {

// Returns the item `name` in the folder open as `folderFd`, a link as itself; throws the platform
// error with `path`.
struct stat statAt(int folderFd, const std::string& name, const std::string& path);

// Returns the facts a conflict question shows for the item at `path` described by `info`.
JobItemFacts of(const std::string& path, const struct stat& info);

// Returns `path` with every link and "." or ".." resolved, or only tidied when it cannot be.
std::string resolved(const std::string& path);

} // namespace kiv::ItemFacts
