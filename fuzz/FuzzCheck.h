#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

// What every fuzz target shares: a check that stops the run when an invariant breaks, so
// libFuzzer keeps the input that broke it, and the line-by-line reading of line-based inputs.
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

// The text between "\n"s, the empty lines too, so that line N is lines[N - 1].
inline std::vector<std::string_view> allLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        auto end = std::min(text.find('\n'), text.size());
        lines.push_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

// The text between "\n"s, empty lines dropped.
inline std::vector<std::string_view> nonEmptyLines(std::string_view text)
{
    auto lines = allLines(text);
    std::erase_if(lines, [](std::string_view line) { return line.empty(); });
    return lines;
}

// Reads `text` whole with `read` and checks that this gives exactly what reading each of its
// lines alone gives, in order, at most one item a line (`same` compares two items). Returns the
// items and, for each, the line it was read from.
template <typename Read, typename Same> auto itemsWithTheirLines(std::string_view text, Read read, Same same)
{
    auto items = read(text);
    std::vector<std::string_view> sources;
    for (auto line : nonEmptyLines(text)) {
        auto own = read(line);
        require(own.size() <= 1, "one line gives several items", line);
        if (own.empty())
            continue;
        require(sources.size() < items.size() && same(own.front(), items[sources.size()]),
            "a line read alone gives another item than in the whole text", line);
        sources.push_back(line);
    }
    require(sources.size() == items.size(), "an item that comes from no line");
    return std::pair { std::move(items), std::move(sources) };
}

} // namespace kiv::fuzz
