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

// Where a path leads once every symbolic link on the way is followed.
enum class Destination
{
    folder,
    nothing, // a dangling link, or nothing at all
    loop, // links that lead round in a circle
    other, // a file of any kind, or a path the system refuses to follow
};

// Returns where `path` leads.
Destination destination(const std::string& path);

// Returns whether anything is at `path`, a dangling link included.
bool exists(const std::string& path);

// Returns whether `path` is a folder itself, not a link to one.
bool isRealFolder(const std::string& path);

// Returns whether `a` and `b` name the same item on the same device ("/a/b" and "/a/b/" do).
bool isSame(const std::string& a, const std::string& b, Link link);

} // namespace kiv::DiskItem
