#pragma once

#include "terminal/TerminalCell.h"
#include "terminal/TerminalScrollback.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace kiv {

// The cells of a terminal: the normal screen with the scrollback above it, and the alternate
// screen that full-screen programs draw on and that gives the normal one back when they leave.
// It is told what to change in screen coordinates (row 0 at the top); scrolling whole lines
// moves the lines, not their cells, so a flood of output costs little per line.
class TerminalScreen
{
public:
    using Line = TerminalScrollback::Line;

    // A cell's place: row and column from 0 at the top left.
    struct Position
    {
        int row = 0;
        int column = 0;

        bool operator==(const Position&) const = default;
    };
    // The cells from row `top` to before `bottom` and from column `left` to before `right`.
    struct Rect
    {
        int top = 0;
        int bottom = 0;
        int left = 0;
        int right = 0;
    };

    // An empty screen of `rows` by `columns` cells keeping `scrollbackLines` lines above it.
    // REQUIRES: all three > 0.
    TerminalScreen(int rows, int columns, std::size_t scrollbackLines);

    // Returns the rows of the screen.
    int rows() const { return m_rows; }
    // Returns the columns of the screen.
    int columns() const { return m_columns; }
    // Returns whether the alternate screen is shown.
    bool isAlternate() const { return m_alternate; }
    // Returns row `row` of the screen shown. REQUIRES: 0 <= row < rows().
    const Line& line(int row) const { return shown().row(row); }
    // Returns the lines above the normal screen.
    const TerminalScrollback& scrollback() const { return m_scrollback; }

    // Puts `cell` at `at`; a wide cell takes the cell to its right too, and a wide character
    // it overwrites half of is blanked whole. Places off the screen are ignored.
    void put(Position at, const TerminalCell& cell);
    // Puts `character`, one cell wide and without a mark, at `at` in the colours and style of
    // `style`: put() for the common character, without building a cell first.
    void putNarrow(Position at, char32_t character, const TerminalCell& style)
    {
        if (TerminalCell* target = placeFor(at)) {
            *target = style;
            target->character = character;
            target->mark = 0;
            target->width = 1;
        }
    }
    // Puts `characters`, printable ASCII, from `at` rightwards in the colours and style of `style`,
    // as putNarrow() puts each. REQUIRES: `at` on the screen, the characters within its row.
    void putAscii(Position at, std::string_view characters, const TerminalCell& style);
    // Moves the cells of `rect` up by `downward` rows (down when negative) and left by `rightward`
    // columns, filling what they leave with `blank`. Lines leaving the top of the normal screen
    // across its whole width go to the scrollback.
    void scroll(Rect rect, int downward, int rightward, const TerminalCell& blank);
    // Copies the cells of `source` onto `destination`, a rectangle of the same size.
    void move(Rect destination, Rect source);
    // Fills `rect` with `blank`.
    void erase(Rect rect, const TerminalCell& blank);
    // Shows the alternate screen, or the normal one again.
    void useAlternate(bool alternate) { m_alternate = alternate; }
    // Changes the size to `rows` by `columns`. Lines the normal screen loses at the top go to
    // the scrollback, and lines it gains come back from there, so the rows around `cursorRow`
    // stay in sight (and the cursor's own on the screen); returns how many rows the cursor moves
    // down (up when negative).
    int resize(int rows, int columns, int cursorRow);

    // Fills `cells` with what `rows()` rows show when the view stands `linesBack` lines up in the
    // scrollback: that many scrollback lines, then the screen shown, row by row, each as wide
    // as the screen. REQUIRES: 0 <= linesBack <= scrollback().size().
    void copyView(std::size_t linesBack, std::vector<TerminalCell>& cells) const;

private:
    using Lines = std::vector<Line>;
    // The lines of one screen, kept in a ring: scrolling the whole screen moves where the top
    // row is, not the lines.
    struct Rows
    {
        Lines lines;
        std::size_t top = 0; // the index in `lines` of row 0

        Line& row(int row) { return lines[index(row)]; }
        const Line& row(int row) const { return lines[index(row)]; }
        std::size_t index(int row) const
        {
            const std::size_t at = top + std::size_t(row);
            return at < lines.size() ? at : at - lines.size();
        }
        // Puts row 0 first in `lines` again, as the operations on the whole vector expect.
        void straighten();
    };

    Rows& shown() { return m_alternate ? m_alternateRows : m_normalRows; }
    const Rows& shown() const { return m_alternate ? m_alternateRows : m_normalRows; }
    Line blankLine(const TerminalCell& blank) const { return Line(std::size_t(m_columns), blank); }
    TerminalCell* placeFor(Position at)
    {
        if (at.row < 0 || at.row >= m_rows || at.column < 0 || at.column >= m_columns)
            return nullptr;
        Line& line = shown().row(at.row);
        TerminalCell& target = line[std::size_t(at.column)];
        if (target.width != 1)
            breakWideCharacterAt(line, at.column);
        return &target;
    }
    void scrollLines(int top, int bottom, int downward, const TerminalCell& blank);
    void blankOut(Line& line, const TerminalCell& blank);
    void breakWideCharacterAt(Line& line, int column);
    static void mendWideCharacters(Line& line);
    static bool isBlank(const Line& line);
    int shrinkNormal(int rows, int cursorRow);
    int growNormal(int rows);

    int m_rows;
    int m_columns;
    Rows m_normalRows;
    Rows m_alternateRows;
    bool m_alternate = false;
    TerminalScrollback m_scrollback;
    Line m_blankLine; // a line of the last blank asked for, copied where lines are blanked
};

} // namespace kiv
