#pragma once

#include "terminal/TerminalCell.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kiv {

// What a terminal shows at one moment, copied out for drawing while the program writes on.
struct TerminalSnapshot
{
    int rows = 0;
    int columns = 0;
    std::vector<TerminalCell> cells; // row by row, rows * columns of them
    int cursorRow = 0;
    int cursorColumn = 0;
    bool cursorShown = false; // the program shows it and the view is not scrolled back
    std::size_t linesBack = 0; // how far up in the scrollback the view stands
    std::size_t scrollbackLines = 0;
    std::int64_t pushed = 0; // TerminalScrollback::pushed() when copied

    // Returns the cell at `row`, `column`. REQUIRES: both within the snapshot.
    const TerminalCell& at(int row, int column) const
    {
        return cells[std::size_t(row) * std::size_t(columns) + std::size_t(column)];
    }
};

} // namespace kiv
