#pragma once

#include "base/FileEntry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// What a mask makes a new name from: one item's present name and facts.
struct NameSource
{
    std::string_view name; // the whole present name, the file system's bytes
    bool isFolder = false; // a folder's name has no extension
    std::optional<FileTime> modified;
};

// A name mask such as "[N]_[C:3].[E]": text kept as it is, and fields in brackets filled from the
// item. [N] is the name without its extension, [E] the extension (after the last "." that does not
// start the name; a folder has none), [N2-5] characters 2 to 5 of the name ([N3] one, [N3-] from the
// third on; [E...] alike), [C] the counter ([C:3] at least three digits), [D] the modification date
// (2024-05-31), [T] its time (14-05-09); "[[]" and "[]]" write a bracket. A "." written right
// before [E] goes when the item has no extension, so "[N].[E]" keeps "README" as it is.
class NameMask
{
public:
    // Reads `mask`. Throws KivError::operationFailed naming the first field it cannot read.
    explicit NameMask(std::string_view mask);

    // Returns the name the mask makes for `item` with the counter at `counter`.
    std::string apply(const NameSource& item, std::int64_t counter) const;

private:
    struct Field
    {
        enum class Kind
        {
            text,
            name,
            extension,
            counter,
            date,
            time,
        };
        Kind kind = Kind::text;
        std::string text; // Kind::text
        std::size_t first = 1; // characters, counted from 1, of [N] and [E]
        std::size_t last = 0; // 0: to the end
        int width = 1; // the counter's least number of digits
    };

    static Field field(std::string_view inside);
    static void append(std::string& name, const Field& field, const NameSource& item, std::int64_t counter);

    std::vector<Field> m_fields;
};

} // namespace kiv
