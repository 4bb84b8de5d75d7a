#pragma once

#include <string>
#include <vector>

namespace kiv::test {

// The rows' names in listing order.
template <typename Rows> std::vector<std::string> namesOf(const Rows& rows)
{
    std::vector<std::string> names;
    for (const auto& row : rows)
        names.push_back(row.name);
    return names;
}

} // namespace kiv::test
