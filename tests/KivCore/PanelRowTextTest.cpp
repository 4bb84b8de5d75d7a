#include "panel/PanelRowText.h"
#include "text/KivFormat.h"

#include <gtest/gtest.h>

using namespace kiv;
using EntryKind = FileEntry::Kind;

namespace {

const FileTime when = std::chrono::floor<FileTime::duration>(std::chrono::system_clock::now());

// The line as one string, placeholders and the cut marker bracketed so they cannot pass as text.
std::string shown(const CellText::Line& line)
{
    std::string text;
    for (const CellText::Piece& piece : line) {
        const bool isText = piece.kind == CellText::Piece::Kind::text;
        const bool isCut = piece.kind == CellText::Piece::Kind::cut;
        text.append(isText  ? ""
                    : isCut ? "<"
                            : "(")
            .append(piece.text)
            .append(isText  ? ""
                    : isCut ? ">"
                            : ")");
    }
    return text;
}

std::string rowOf(std::string name, EntryKind kind, std::int64_t size = 0, std::optional<FileTime> date = when)
{
    return shown(PanelRowText::row({ "/x/" + name, name, kind, size, date, std::nullopt }, 23));
}

} // namespace

TEST(PanelRowTextTest, RowsKeepTheirColumnsAndMarkWhatIsCut)
{
    const std::string dateAndTime = "  " + KivFormat::date(when) + "  " + KivFormat::time(when);
    EXPECT_EQ(rowOf("a.txt", EntryKind::regularFile, 1234), " a.txt                        1,234" + dateAndTime);
    EXPECT_EQ(rowOf("..", EntryKind::parentDirectory, 0, std::nullopt),
        " [..]                         <DIR>" + std::string(17, ' '));
    // A name one cell too long keeps 22 cells and shows the marker in the 23rd.
    const std::string name(23, 'n');
    EXPECT_EQ(rowOf(name + 'n', EntryKind::regularFile, 5), " " + name.substr(1) + "<}>          5" + dateAndTime);
    EXPECT_EQ(rowOf(name, EntryKind::regularFile, 5), " " + name + "          5" + dateAndTime);
    // A size too long for its 11 cells shows in binary units, never cut.
    EXPECT_EQ(rowOf("big", EntryKind::archive, 2'147'483'648).substr(24, 11), "     2.0 GB");
    // The name column takes what the other columns leave, and every row fills exactly the panel.
    for (int cells : { 44, 60, 120 }) {
        const int width = PanelRowText::nameWidth(cells);
        EXPECT_EQ(
            CellText::cellsOf(PanelRowText::row({ "/x/a", "a", EntryKind::regularFile, 1, when, {} }, width)),
            cells - 1);
        const std::vector<PanelRowText::Title> titles = PanelRowText::columnTitles(width);
        EXPECT_EQ(titles.back().endCell, cells - 1);
        EXPECT_EQ(titles[1].firstCell, 1 + width);
    }
}

TEST(PanelRowTextTest, CellsCountCharactersWideOnesTwiceAndShowTheInvisible)
{
    using CellText::Side;
    const auto fit = [](std::string_view bytes, int width, Side side = Side::left) {
        const CellText::Line line = CellText::fitted(bytes, width, side);
        EXPECT_EQ(CellText::cellsOf(line), width) << bytes;
        return shown(line);
    };
    // "e" + combining acute is one character; so is a flag made of two regional indicators.
    EXPECT_EQ(fit("e\xCC\x81"
                  "e\xCC\x81",
                  3),
        "e\xCC\x81"
        "e\xCC\x81 ");
    EXPECT_EQ(fit("ab", 4, Side::right), "  ab");
    // Ideographs take two cells each; the one that would straddle the marker's cell gives way to a blank.
    EXPECT_EQ(fit("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", 6), "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E");
    EXPECT_EQ(fit("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", 5), "\xE6\x97\xA5\xE6\x9C\xAC<}>");
    EXPECT_EQ(fit("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", 4), "\xE6\x97\xA5 <}>");
    // A newline, a tab and a byte that is not UTF-8 each show as a placeholder of one cell.
    EXPECT_EQ(fit("a\nb\tc\xE9", 6), "a(?)b(?)c(?)");
}
