#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kiv {

// Names a server lists are data from another machine: this says which of them can stand for one
// item in a folder, here and there.
namespace RemoteName {

// Why `name` cannot be a file name on its own ("holds a /"), or nothing when it can. Empty names,
// "." and "..", and names holding "/" or a zero byte are refused; bytes that are not UTF-8 are fine.
std::optional<std::string> problem(std::string_view name);

// The name a listing shows for `name`, which holds a "/" or a zero byte: each of them replaced by a
// look-alike ("a/b" becomes "a\u2215b"), so the row names one item of the folder listed and
// nothing below or beside it. Other names are returned as they are.
std::string shown(std::string_view name);

// True for the "." and ".." a server lists in every folder.
bool isDotEntry(std::string_view name);

} // namespace RemoteName

} // namespace kiv
