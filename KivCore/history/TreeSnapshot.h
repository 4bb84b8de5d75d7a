#pragma once

#include "base/FileEntry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kiv {

class Door;

// What an item, and everything inside it when it is a folder, looked like at one moment: the type
// of each path, the size and modification time of each file. Enough to tell whether anyone changed
// it since.
class TreeSnapshot
{
public:
    // Returns the snapshot of the item at `path`, a link itself and never what it points to.
    // Throws the platform error when the item or a folder inside it cannot be read.
    static TreeSnapshot of(const std::string& path);
    // Returns the same of the item at `path` behind `door`, read through its listings (a server's,
    // whose times are whole seconds). Throws what the door throws, the platform error ENOENT when
    // nothing is there, and KivError::operationFailed for a folder inside it that cannot be listed.
    static TreeSnapshot of(const Door& door, const std::string& path);

    // One way a snapshot differs from an earlier one: a path, relative to the item ("" for the item
    // itself), that is new, gone or different.
    struct Difference
    {
        enum class Kind
        {
            added,
            removed,
            changed,
        };

        std::string path;
        Kind kind;

        bool operator==(const Difference&) const = default;
    };

    // Returns the first difference in path order of this snapshot compared with `earlier`; nothing
    // when they are the same.
    std::optional<Difference> firstDifference(const TreeSnapshot& earlier) const;

    // Returns whether no snapshot was taken (a snapshot of any item holds at least the item).
    bool empty() const { return m_entries.empty(); }

    bool operator==(const TreeSnapshot&) const = default;

private:
    struct Entry
    {
        std::string path;
        std::uint32_t mode;
        std::int64_t size;
        std::int64_t modifiedSeconds;
        std::int64_t modifiedNanoseconds;

        bool operator==(const Entry&) const = default;
    };

    void putInOrder();
    // Adds an item read through a door: its type as the mode's type bits, a folder by what it holds.
    void addSeen(const std::string& relative, std::uint32_t type, std::int64_t size,
        const std::optional<FileTime>& modified);
    void add(int parentFd, const char* name, const std::string& relative, const std::string& fullPath);

    std::vector<Entry> m_entries; // in path order
};

} // namespace kiv
