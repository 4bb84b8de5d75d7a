#pragma once

#include <string>
#include <string_view>

// Path arithmetic on plain strings of file-system bytes; nothing here touches the disk.
namespace kiv::PathString {

// Joins a folder path and a name with exactly one "/".
std::string appendingComponent(std::string_view folder, std::string_view name);

// Drops the last component, ignoring a trailing "/": "/a" gives "/", "a" gives "", "/" stays "/".
std::string deletingLastComponent(std::string_view path);

// The folder holding `path`, or "/" where nothing is left to drop (the root, or a bare name).
std::string parentOrRoot(std::string_view path);

// The last component, ignoring a trailing "/" ("/" for the root itself).
std::string lastComponent(std::string_view path);

// Expands a leading "~", drops "." and empty components, resolves ".." in absolute paths,
// and removes any trailing "/".
std::string standardizing(std::string_view path);

// The absolute path the user means by `typed`: standardizing(typed) when it starts with "/" or
// "~", otherwise `typed` taken from the folder `base`, standardized.
std::string resolving(std::string_view typed, std::string_view base);

// True when `path` is `ancestor` itself or lies below it (component-wise, no disk access).
bool isSameOrInside(std::string_view path, std::string_view ancestor);

} // namespace kiv::PathString
