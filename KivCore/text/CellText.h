#pragma once

#include <string>
#include <string_view>
#include <vector>

// Text laid out in the cells of a character screen, where most characters take one cell, wide
// (East Asian and emoji) characters two, and what would show as nothing or break the line shows
// as a placeholder of one cell.
namespace kiv::CellText {

// One run of a laid-out line.
struct Piece
{
    enum class Kind
    {
        text, // UTF-8 characters drawn as they are: a run of printable ASCII or one other character
        placeholder, // "?" for a control or format character or a byte that is not UTF-8
        cut, // "}" in the last cell of a text that did not fit
    };
    Kind kind = Kind::text;
    std::string text;
    int cells = 0;

    bool operator==(const Piece&) const = default;
};

// A laid-out line, its pieces in order from the left.
using Line = std::vector<Piece>;

// Which side of its column a text keeps to.
enum class Side
{
    left,
    right
};

// Returns `bytes` (read as UTF-8, whatever they hold) laid out in exactly `width` cells: filled with
// blanks on the side away from `side` when shorter; when longer, the characters that fit in the
// first width - 1 cells, blanks up to there, and the cut marker in the last cell.
Line fitted(std::string_view bytes, int width, Side side);

// Returns the cells `line` takes.
int cellsOf(const Line& line);

// Appends the pieces of `more` to `line`, joining runs of printable ASCII into one piece.
void append(Line& line, Line more);

} // namespace kiv::CellText
