#pragma once

#include "base/FileEntry.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kiv {

// One member of an archive as the archive library read it. A plain value.
struct ArchiveRawEntry
{
    std::string
        path; // "/"-separated path inside the archive, made safe (ArchiveMemberPath); folders end in "/"
    std::int64_t size = 0; // uncompressed size in bytes
    std::optional<FileTime> modificationDate;
    bool encrypted = false; // its data cannot be read without a password
    std::string linkTarget = {}; // a symbolic link's target as stored; "" for the rest

    bool operator==(const ArchiveRawEntry&) const = default;
};

} // namespace kiv
