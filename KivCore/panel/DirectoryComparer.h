#pragma once

#include "base/FileEntry.h"

#include <set>
#include <string>
#include <vector>

// Finds the files of two folder listings that have no equal on the other side.
namespace kiv::DirectoryComparer {

struct Result
{
    std::set<std::string> leftDifferent; // left files missing on the right or unlike their namesake
    std::set<std::string> rightDifferent; // right files missing on the left or unlike their namesake

    bool operator==(const Result&) const = default;
};

// Compares the regular files and archives of both listings by name, then size, then
// modification time (less than 2 s apart counts as equal). Folders, links and ".." never count.
Result compare(const std::vector<FileEntry>& left, const std::vector<FileEntry>& right);

} // namespace kiv::DirectoryComparer
