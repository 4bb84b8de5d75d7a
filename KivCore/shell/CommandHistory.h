#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kiv {

// The lines run from the command line, oldest first, each once, and a place for browsing them
// with Up and Down while the line being typed is kept aside. Holds at most `capacity` lines.
class CommandHistory
{
public:
    static constexpr std::size_t capacity = 200;

    // Records `line` as the newest (a line run before moves there) and ends browsing.
    void add(const std::string& line);

    // The line older than the one shown, or nothing at the oldest. On the first step `typed`, the
    // text in the command line, is kept to come back to.
    std::optional<std::string> older(const std::string& typed);

    // The line newer than the one shown; past the newest, the kept typed text; nothing when not
    // browsing.
    std::optional<std::string> newer();

    // The lines, oldest first.
    const std::vector<std::string>& lines() const { return m_lines; }

    // Replaces the lines by `lines` (oldest first), cut to capacity, and ends browsing.
    void restore(std::vector<std::string> lines);

private:
    std::vector<std::string> m_lines;
    std::size_t m_shown = 0; // m_lines.size() when not browsing
    std::string m_typed;
};

} // namespace kiv
