#pragma once

#include "files/FileEntry.h"
#include "panel/SortOrder.h"

#include <QString>

// The one-line texts of a file panel in its fixed-pitch columns: name 23 characters, size 11,
// then date and time.
namespace kiv::PanelRowText {

// Which side of its column a text keeps to.
enum class Side
{
    left,
    right
};

// Returns `text` blank-filled to `width` user-perceived characters on the side away from `side`,
// or cut after its first `width` characters when it is not shorter.
QString fitted(const QString& text, int width, Side side);

// Returns the row of `entry`: a blank, the name (folders in brackets) in 23 columns, the size text
// right-aligned in 11, two blanks, the date, two blanks, the time.
QString row(const FileEntry& entry);

// Returns the column titles, each standing over its column of row(), the one `order` sorts by
// followed by "↑" (ascending) or "↓" (descending): "Name", "Ext" in the name column, "Size", and
// "Date" for the modification time; "Name (unsorted)" when the rows are as listed.
QString columnHeader(SortOrder order = {});

} // namespace kiv::PanelRowText
