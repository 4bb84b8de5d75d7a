#pragma once

#include <ctime>
#include <string>
#include <string_view>

// The text of a freedesktop.org trash's .trashinfo file. Only bytes: no disk access.
namespace kiv::TrashInfo {

// Returns `bytes` with every byte but ASCII letters, digits, "-_.~/" written as %XX (upper-case
// hex), so any file name, UTF-8 or not, survives the trip through the text file byte for byte.
std::string percentEncoded(std::string_view bytes);

// Returns the whole file for an item whose original path is `path` (absolute, or relative to the
// trash's file system top), deleted at `when`, given in local time as YYYY-MM-DDThh:mm:ss.
std::string text(std::string_view path, std::time_t when);

} // namespace kiv::TrashInfo
