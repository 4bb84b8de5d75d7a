#include "panel/PanelRowText.h"

#include "text/KivFormat.h"

#include <algorithm>

namespace kiv::PanelRowText {

namespace {

constexpr int sizeWidth = 11;
constexpr int dateWidth = 8;
constexpr int timeWidth = 5;
constexpr int gap = 2;
// The leading blank, the columns after the name with their gaps, and the blank at the right end.
constexpr int cellsBesideName = 1 + sizeWidth + gap + dateWidth + gap + timeWidth + 1;

std::string displayName(const FileEntry& entry)
{
    const bool isFolder
        = entry.kind == FileEntry::Kind::directory || entry.kind == FileEntry::Kind::parentDirectory;
    return isFolder ? '[' + entry.name + ']' : entry.name;
}

} // namespace

int nameWidth(int cells)
{
    return std::max(narrowestName, cells - cellsBesideName);
}

CellText::Line row(const FileEntry& entry, int nameWidth)
{
    using CellText::Side;
    const std::string gapText(gap, ' ');
    CellText::Line line { { CellText::Piece::Kind::text, " ", 1 } };
    CellText::append(line, CellText::fitted(displayName(entry), nameWidth, Side::left));
    CellText::append(line, CellText::fitted(KivFormat::size(entry, sizeWidth), sizeWidth, Side::right));
    CellText::append(line,
        CellText::fitted(gapText + KivFormat::date(entry.modificationDate), gap + dateWidth, Side::left));
    CellText::append(line,
        CellText::fitted(gapText + KivFormat::time(entry.modificationDate), gap + timeWidth, Side::left));
    return line;
}

std::vector<Title> columnTitles(int nameWidth, SortOrder order)
{
    using Key = SortOrder::Key;
    const std::string arrow = order.direction == SortOrder::Direction::ascending ? "↑" : "↓";
    const auto title = [&](const char* text, Key key) { return text + (order.key == key ? arrow : ""); };
    const std::string name = order.key == Key::unsorted ? "Name (unsorted)"
        : order.key == Key::extension                   ? title("Ext", Key::extension)
                                                        : title("Name", Key::name);
    const int size = 1 + nameWidth;
    const int date = size + sizeWidth + gap;
    const int time = date + dateWidth + gap;
    using CellText::Side;
    return { { name, 1, size, Side::left }, { title("Size", Key::size), size, size + sizeWidth, Side::right },
        { title("Date", Key::modificationTime), date, date + dateWidth, Side::left },
        { "Time", time, time + timeWidth, Side::left } };
}

} // namespace kiv::PanelRowText
