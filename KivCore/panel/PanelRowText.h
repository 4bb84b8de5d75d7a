#pragma once

#include "base/FileEntry.h"
#include "panel/SortOrder.h"
#include "text/CellText.h"

#include <string>
#include <vector>

// The one-line rows of a file panel in character cells: a blank, the name, the size (11 cells),
// the date and the time, each column after the name keeping its width while the name takes the
// rest of the panel.
namespace kiv::PanelRowText {

// The fewest cells the name column keeps, however narrow the panel.
inline constexpr int narrowestName = 12;

// Returns the width of the name column in a row of `cells` cells: what the leading blank, the
// size, date and time columns with their gaps and one blank at the right end leave.
int nameWidth(int cells);

// Returns the row of `entry` with a name column `nameWidth` cells wide: a blank, the name (folders
// in brackets) cut with the marker when too long, the size text (KivFormat::size) right-aligned
// in 11, two blanks, the date, two blanks, the time.
CellText::Line row(const FileEntry& entry, int nameWidth);

// One column title and the cells of the column it stands over, [firstCell, endCell).
struct Title
{
    std::string text;
    int firstCell;
    int endCell;
    CellText::Side side;

    bool operator==(const Title&) const = default;
};

// Returns the titles "Name", "Size", "Date" and "Time" for rows with a name column `nameWidth`
// wide; "Size" keeps to the right of its column as the sizes do. The one `order` sorts by ends in
// "↑" (ascending) or "↓" (descending): "Name", "Ext" in the name column, "Size", "Date" for the
// modification time; "Name (unsorted)" when the rows are as listed.
std::vector<Title> columnTitles(int nameWidth, SortOrder order = {});

} // namespace kiv::PanelRowText
