#pragma once

#include "base/FileEntry.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kiv {

// What a door knows of one item: its type, size, time, permission bits and, for a link, its
// target. A plain value.
struct ItemInfo
{
    enum class Type
    {
        folder,
        file, // a regular file
        link, // a symbolic link, read as itself
        other, // a pipe, socket or device: never opened
    };

    Type type = Type::file;
    std::int64_t size = 0; // the bytes of a file; 0 for the rest
    std::optional<FileTime> modified;
    std::optional<std::uint32_t> permissions; // the twelve bits of 07777, where the place keeps them
    std::string linkTarget; // a link's target as stored; "" for the rest, or where the place cannot tell

    bool operator==(const ItemInfo&) const = default;

    // Returns the panel row of this item, at `id` and shown as `name`: a folder, link, regular file
    // or archive (by its name), a pipe or device as a regular file that is never opened as an
    // archive; "drwxr-xr-x" style permissions where known.
    FileEntry row(std::string id, std::string name) const;
};

} // namespace kiv
