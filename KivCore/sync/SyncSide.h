#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kiv {

// What one side of a folder synchronization holds at a path, as the comparison saw it: enough to
// tell afterwards whether anyone changed or replaced it since. A plain value; a link is itself.
struct SyncSide
{
    enum class Kind
    {
        file,
        folder,
        link,
        other, // a FIFO, socket or device
    };

    Kind kind = Kind::file;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    bool operator==(const SyncSide&) const = default;

    // Returns the item `name` in the folder open as `folderFd`; nothing when nothing is there.
    // Throws the platform error, with `path`, when it cannot be examined.
    static std::optional<SyncSide> at(int folderFd, const char* name, const std::string& path);
    // Returns the item at `path`, as at() does.
    static std::optional<SyncSide> of(const std::string& path);

    // Returns the modification time in nanoseconds since 1970.
    std::int64_t modifiedAt() const { return modifiedSeconds * 1'000'000'000 + modifiedNanoseconds; }
};

} // namespace kiv
