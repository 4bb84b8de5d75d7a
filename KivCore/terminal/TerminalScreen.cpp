#include "terminal/TerminalScreen.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace kiv {

namespace {

// Makes `line` `columns` cells wide; a wide character cut in half at its new end is blanked.
void fitWidth(TerminalScreen::Line& line, int columns)
{
    const auto width = std::size_t(columns);
    if (line.size() > width && width > 0 && line[width - 1].width == 2) {
        line[width - 1].character = U' ';
        line[width - 1].mark = 0;
        line[width - 1].width = 1;
    }
    line.resize(width);
}

void blankHalf(TerminalCell& cell)
{
    cell.character = U' ';
    cell.mark = 0;
    cell.width = 1;
}

} // namespace

TerminalScreen::TerminalScreen(int rows, int columns, std::size_t scrollbackLines)
    : m_rows(rows)
    , m_columns(columns)
    , m_normalRows { Lines(std::size_t(rows), blankLine({})) }
    , m_alternateRows { Lines(std::size_t(rows), blankLine({})) }
    , m_scrollback(scrollbackLines)
{
}

void TerminalScreen::Rows::straighten()
{
    std::rotate(lines.begin(), lines.begin() + std::ptrdiff_t(top), lines.end());
    top = 0;
}

void TerminalScreen::put(Position at, const TerminalCell& cell)
{
    TerminalCell* target = placeFor(at);
    if (!target)
        return;
    *target = cell;
    if (cell.width != 2)
        return;
    if (at.column + 1 == m_columns) {
        target->width = 1; // no room for its right half
        return;
    }
    Line& line = shown().row(at.row);
    breakWideCharacterAt(line, at.column + 1);
    TerminalCell& right = line[std::size_t(at.column) + 1];
    right = cell;
    right.character = 0;
    right.mark = 0;
    right.width = 0;
}

void TerminalScreen::putAscii(Position at, std::string_view characters, const TerminalCell& style)
{
    Line& line = shown().row(at.row);
    // Only a wide character across either end loses a half the characters do not cover.
    const int last = at.column + int(characters.size()) - 1;
    breakWideCharacterAt(line, at.column);
    if (line[std::size_t(last)].width == 2)
        breakWideCharacterAt(line, last);
    TerminalCell* cell = &line[std::size_t(at.column)];
    for (const char character : characters) {
        *cell = style;
        cell->character = char32_t(character);
        cell->mark = 0;
        cell->width = 1;
        ++cell;
    }
}

void TerminalScreen::breakWideCharacterAt(Line& line, int column)
{
    const TerminalCell& cell = line[std::size_t(column)];
    if (cell.width == 0 && column > 0)
        blankHalf(line[std::size_t(column) - 1]);
    else if (cell.width == 2 && column + 1 < m_columns)
        blankHalf(line[std::size_t(column) + 1]);
}

void TerminalScreen::scroll(Rect rect, int downward, int rightward, const TerminalCell& blank)
{
    const int height = rect.bottom - rect.top;
    const int width = rect.right - rect.left;
    if (height <= 0 || width <= 0)
        return;
    if (rightward == 0 && rect.left == 0 && rect.right == m_columns) {
        scrollLines(rect.top, rect.bottom, downward, blank);
        return;
    }
    if (std::abs(downward) >= height || std::abs(rightward) >= width) {
        erase(rect, blank);
        return;
    }
    Rect source = rect;
    Rect destination = rect;
    (downward > 0 ? source.top : destination.top) += std::abs(downward);
    (downward > 0 ? destination.bottom : source.bottom) -= std::abs(downward);
    (rightward > 0 ? source.left : destination.left) += std::abs(rightward);
    (rightward > 0 ? destination.right : source.right) -= std::abs(rightward);
    move(destination, source);
    if (downward != 0)
        erase(downward > 0 ? Rect { rect.bottom - downward, rect.bottom, rect.left, rect.right }
                           : Rect { rect.top, rect.top - downward, rect.left, rect.right },
            blank);
    if (rightward != 0)
        erase(rightward > 0 ? Rect { rect.top, rect.bottom, rect.right - rightward, rect.right }
                            : Rect { rect.top, rect.bottom, rect.left, rect.left - rightward },
            blank);
}

void TerminalScreen::scrollLines(int top, int bottom, int downward, const TerminalCell& blank)
{
    Rows& rows = shown();
    const int count = std::min(std::abs(downward), bottom - top);
    if (downward > 0) {
        const bool keep = !m_alternate && top == 0;
        for (int leaving = top; leaving < top + count; ++leaving) {
            if (keep)
                m_scrollback.push(rows.row(leaving));
            blankOut(rows.row(leaving), blank);
        }
        if (top == 0 && bottom == m_rows) {
            rows.top = rows.index(count); // the blanked lines are the bottom rows now
            return;
        }
        // The lines that stay move up in order; the blanked ones end below them in any order.
        for (int row = top; row + count < bottom; ++row)
            std::swap(rows.row(row), rows.row(row + count));
    } else {
        for (int row = bottom - 1; row - count >= top; --row)
            std::swap(rows.row(row), rows.row(row - count));
        for (int entering = top; entering < top + count; ++entering)
            blankOut(rows.row(entering), blank);
    }
}

void TerminalScreen::blankOut(Line& line, const TerminalCell& blank)
{
    if (m_blankLine.size() != std::size_t(m_columns) || m_blankLine.front() != blank)
        m_blankLine.assign(std::size_t(m_columns), blank);
    line = m_blankLine; // a copy of plain cells, where filling builds each cell anew
}

void TerminalScreen::move(Rect destination, Rect source)
{
    Rows& rows = shown();
    const int height = source.bottom - source.top;
    const auto copyRow = [&](int offset) {
        const Line& from = rows.row(source.top + offset);
        Line& to = rows.row(destination.top + offset);
        const auto begin = from.begin() + source.left;
        const auto end = from.begin() + source.right;
        // Within one line the cells may overlap their new place: copy away from the side they go to.
        if (destination.left > source.left && &from == &to)
            std::copy_backward(begin, end, to.begin() + destination.left + (source.right - source.left));
        else
            std::copy(begin, end, to.begin() + destination.left);
        if (destination.left > 0 || destination.right < m_columns)
            mendWideCharacters(to);
    };
    if (destination.top <= source.top) {
        for (int offset = 0; offset < height; ++offset)
            copyRow(offset);
    } else {
        for (int offset = height - 1; offset >= 0; --offset)
            copyRow(offset);
    }
}

void TerminalScreen::erase(Rect rect, const TerminalCell& blank)
{
    Rows& rows = shown();
    for (int row = rect.top; row < rect.bottom; ++row) {
        Line& line = rows.row(row);
        std::fill(line.begin() + rect.left, line.begin() + rect.right, blank);
        if (rect.left > 0 || rect.right < m_columns)
            mendWideCharacters(line);
    }
}

// A wide character one of whose halves was moved or erased goes whole.
void TerminalScreen::mendWideCharacters(Line& line)
{
    for (std::size_t column = 0; column < line.size(); ++column) {
        TerminalCell& cell = line[column];
        const bool broken = cell.width == 2 ? column + 1 == line.size() || line[column + 1].width != 0
            : cell.width == 0               ? column == 0 || line[column - 1].width != 2
                                            : false;
        if (broken)
            blankHalf(cell);
    }
}

bool TerminalScreen::isBlank(const Line& line)
{
    return std::all_of(line.begin(), line.end(), [](const TerminalCell& cell) {
        return cell.character == U' ' && cell.background == TerminalCell::defaultColour;
    });
}

int TerminalScreen::resize(int rows, int columns, int cursorRow)
{
    m_normalRows.straighten();
    m_alternateRows.straighten();
    if (columns != m_columns) {
        for (Rows* rows : { &m_normalRows, &m_alternateRows })
            for (Line& line : rows->lines)
                fitWidth(line, columns);
        m_columns = columns;
    }
    int moved = 0;
    if (rows < m_rows)
        moved = shrinkNormal(rows, m_alternate ? -1 : cursorRow);
    else if (rows > m_rows && !m_alternate)
        moved = growNormal(rows);
    m_normalRows.lines.resize(std::size_t(rows), blankLine({}));
    // A full-screen program draws its screen anew at the new size.
    m_alternateRows.lines.resize(std::size_t(rows), blankLine({}));
    m_rows = rows;
    return m_alternate ? 0 : moved;
}

int TerminalScreen::shrinkNormal(int rows, int cursorRow)
{
    int excess = m_rows - rows;
    // Blank lines below the cursor go first; then lines at the top, into the scrollback.
    while (excess > 0 && int(m_normalRows.lines.size()) - 1 > cursorRow && isBlank(m_normalRows.lines.back())) {
        m_normalRows.lines.pop_back();
        --excess;
    }
    // No more than would take the cursor's line along: the rest goes at the bottom.
    const int fromTop = cursorRow < 0 ? excess : std::min(excess, cursorRow);
    for (int row = 0; row < fromTop; ++row)
        m_scrollback.push(m_normalRows.lines[std::size_t(row)]);
    m_normalRows.lines.erase(m_normalRows.lines.begin(), m_normalRows.lines.begin() + fromTop);
    return -fromTop;
}

int TerminalScreen::growNormal(int rows)
{
    int returned = 0;
    for (Line line; returned < rows - m_rows && m_scrollback.popInto(line); ++returned) {
        fitWidth(line, m_columns);
        m_normalRows.lines.insert(m_normalRows.lines.begin(), std::exchange(line, {}));
    }
    return returned;
}

void TerminalScreen::copyView(std::size_t linesBack, std::vector<TerminalCell>& cells) const
{
    const auto columns = std::size_t(m_columns);
    cells.resize(std::size_t(m_rows) * columns);
    for (std::size_t row = 0; row < std::size_t(m_rows); ++row) {
        TerminalCell* start = cells.data() + row * columns;
        if (row < linesBack)
            m_scrollback.copyLine(linesBack - 1 - row, start, m_columns);
        else
            std::copy_n(shown().row(int(row - linesBack)).begin(), columns, start);
    }
}

} // namespace kiv
