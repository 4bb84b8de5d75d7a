#pragma once

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

} // namespace kiv::fuzz
