#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

// What every fuzz target shares: a check that stops the run when an invariant breaks, so
// libFuzzer keeps the input that broke it, and line splitting for the line-based inputs.
namespace kiv::fuzz {

// Aborts with `what` and `detail` printed when `condition` is false.
inline void require(bool condition, const char* what, std::string_view detail = {})
{
    if (condition)
        return;
    std::fprintf(
        stderr, "invariant broken: %s [%.*s]\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

// The text between "\n"s, empty lines dropped.
inline std::vector<std::string_view> nonEmptyLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        auto end = std::min(text.find('\n'), text.size());
        if (end > 0)
            lines.push_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

// The line each item was read from, given that items come from distinct lines of `text`, in
// order, and `isFrom(line, item)` tells whether `item` can be the reading of `line`. Aborts when
// an item matches no later line.
template <typename Item, typename Match>
std::vector<std::string_view> sourceLines(const std::vector<Item>& items, std::string_view text, Match isFrom)
{
    auto lines = nonEmptyLines(text);
    std::vector<std::string_view> sources;
    std::size_t line = 0;
    for (const auto& item : items) {
        while (line < lines.size() && !isFrom(lines[line], item))
            ++line;
        require(line < lines.size(), "an item matches no later line of the input");
        sources.push_back(lines[line++]);
    }
    return sources;
}

} // namespace kiv::fuzz
