#pragma once

#include <string>

// Questions about an item on disk that change nothing; a path that cannot be examined answers no.
namespace kiv::DiskItem {

// How a path that names a symbolic link is read.
enum class Link
{
    itself, // the link
    target, // what it points to
};

// Returns whether anything is at `path`, a dangling link included.
bool exists(const std::string& path);

// Returns whether `path` is a folder itself, not a link to one.
bool isRealFolder(const std::string& path);

// Returns whether `a` and `b` name the same item on the same device ("/a/b" and "/a/b/" do).
bool isSame(const std::string& a, const std::string& b, Link link);

} // namespace kiv::DiskItem
