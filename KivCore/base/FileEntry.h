#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kiv {

// A file's time to the microsecond. The system clock's own nanoseconds end in the year 2262, well
// within the times a file system can hold.
using FileTime = std::chrono::time_point<std::chrono::system_clock, std::chrono::microseconds>;

// One row of a panel: a file, folder, link, archive or the ".." row. A plain value.
struct FileEntry
{
    enum class Kind
    {
        parentDirectory,
        directory,
        regularFile,
        symlink,
        archive,
    };

    std::string id; // absolute path for real files, the path inside an archive for members
    std::string name; // last path component, or ".." for the parent row
    Kind kind = Kind::regularFile;
    std::int64_t size = 0; // 0 for a folder until its tree is measured
    std::optional<FileTime> modificationDate;
    std::optional<std::string> permissions; // "drwxr-xr-x" style, absent where unknown
    bool sizeMeasured = false; // a folder whose size holds the bytes of its whole tree

    // Returns archive when the name ends in an archive suffix (ArchiveFormat), else regularFile.
    // REQUIRES: the item is already known to be neither a folder nor a symbolic link.
    static Kind kindForRegularFile(std::string_view name);

    bool operator==(const FileEntry&) const = default;
};

} // namespace kiv

template <> struct std::hash<kiv::FileEntry>
{
    std::size_t operator()(const kiv::FileEntry& entry) const noexcept;
};
