#pragma once

#include "files/FileEntry.h"

#include <string>
#include <vector>

namespace kiv::test {

// The rows' names in listing order.
inline std::vector<std::string> namesOf(const std::vector<FileEntry>& rows)
{
    std::vector<std::string> names;
    for (const auto& row : rows)
        names.push_back(row.name);
    return names;
}

} // namespace kiv::test
