#pragma once

#include "base/FileEntry.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kiv {

class Door;

// What tells whether a file changed since it was read: its size and modification time. A plain
// value.
struct FileStamp
{
    std::int64_t size = 0;
    std::optional<FileTime> modified;

    bool operator==(const FileStamp&) const = default;

    // Returns the stamp of the file at `path` behind `door` (a link followed), or nothing when
    // nothing is there. Throws as Door::info() does.
    static std::optional<FileStamp> of(const Door& door, const std::string& path);
};

} // namespace kiv
