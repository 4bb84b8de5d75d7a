#pragma once

#include "terminal/TerminalCell.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kiv {

// The lines that scrolled off the top of a terminal's screen, newest last, at most a fixed number
// of them: past it the oldest line goes for each new one. Its storage is handed back for the
// screen's next line, so a flood of output neither grows the memory nor allocates per line.
class TerminalScrollback
{
public:
    using Line = std::vector<TerminalCell>;

    // Keeps at most `capacity` lines. REQUIRES: capacity > 0.
    explicit TerminalScrollback(std::size_t capacity);

    // Takes `line` as the newest and leaves in it the oldest line when that had to go, else
    // nothing, for the caller to reuse.
    void push(Line& line);
    // Takes the newest line back into `line`, as wide as it was; returns false, leaving `line`
    // alone, when none is kept.
    bool popInto(Line& line);

    // Returns how many lines are kept.
    std::size_t size() const { return m_size; }
    // Writes the line `back` places before the newest (0 is the newest) into the `columns` cells
    // from `cells`, cut or filled with blanks to fit. REQUIRES: back < size().
    void copyLine(std::size_t back, TerminalCell* cells, int columns) const;
    // Returns how many lines were ever pushed less those popped, so a reader can tell how far
    // the lines moved since it last looked.
    std::int64_t pushed() const { return m_pushed; }

private:
    std::vector<Line> m_lines;
    std::size_t m_newest = 0; // the slot after the newest line
    std::size_t m_size = 0;
    std::int64_t m_pushed = 0;
};

} // namespace kiv
