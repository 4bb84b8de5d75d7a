#pragma once

namespace kiv {

// How a panel orders its rows: by which key and in which direction. A plain value; the ".." row
// and the folders-before-files grouping stay whatever the order.
struct SortOrder
{
    enum class Key
    {
        name,
        extension,
        size,
        modificationTime,
        unsorted, // as the file system lists them
    };

    enum class Direction
    {
        ascending,
        descending,
    };

    Key key = Key::name;
    Direction direction = Direction::ascending;

    // Returns the order after the user chose `key`: the same key again reverses the direction
    // (unsorted has none), another key starts ascending.
    SortOrder chosen(Key key) const;

    bool operator==(const SortOrder&) const = default;
};

} // namespace kiv
