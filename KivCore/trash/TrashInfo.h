#pragma once

#include <ctime>
#include <string>
#include <string_view>

// The text of a freedesktop.org trash's .trashinfo file. Only bytes: no disk access.
namespace kiv::TrashInfo {

// Returns the whole file for an item whose original path is `path` (absolute, or relative to the
// trash's file system top), deleted at `when`, given in local time as YYYY-MM-DDThh:mm:ss.
std::string text(std::string_view path, std::time_t when);

} // namespace kiv::TrashInfo
