#include "panels/PanelRowText.h"
#include "text/KivFormat.h"

#include <gtest/gtest.h>

using namespace kiv;
using Kind = FileEntry::Kind;

namespace {

const FileTime when = std::chrono::floor<FileTime::duration>(std::chrono::system_clock::now());

std::string rowOf(std::string name, Kind kind, std::int64_t size = 0, std::optional<FileTime> date = when)
{
    return PanelRowText::row({ "/x/" + name, name, kind, size, date, std::nullopt }).toStdString();
}

} // namespace

TEST(PanelRowTextTest, RowsKeepTheirColumnsAndCutWhatDoesNotFit)
{
    const std::string dateAndTime = "  " + KivFormat::date(when) + "  " + KivFormat::time(when);
    EXPECT_EQ(rowOf("a.txt", Kind::regularFile, 1234), " a.txt                        1,234" + dateAndTime);
    EXPECT_EQ(rowOf("..", Kind::parentDirectory, 0, std::nullopt), " [..]                         <DIR>    ");
    // 30 characters show their first 23; a bracketed folder name of 22 loses its closing bracket.
    EXPECT_EQ(rowOf(std::string(30, 'n'), Kind::regularFile, 5),
        " " + std::string(23, 'n') + "          5" + dateAndTime);
    EXPECT_EQ(rowOf(std::string(22, 'd'), Kind::directory),
        " [" + std::string(22, 'd') + "      <DIR>" + dateAndTime);
    // A 12-digit size keeps its first 11 characters.
    EXPECT_EQ(rowOf("big", Kind::archive, 100'000'000'000).substr(24, 11), "100,000,000");
}

TEST(PanelRowTextTest, WidthsCountUserPerceivedCharactersNotCodeUnits)
{
    // "e" + combining acute is one character; so is a flag made of two regional indicators.
    const QString accented = QStringLiteral("e\u0301");
    const QString flag = QString::fromUtf8("\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA");
    EXPECT_EQ(
        PanelRowText::fitted(accented.repeated(3), 5, PanelRowText::Side::left), accented.repeated(3) + "  ");
    EXPECT_EQ(PanelRowText::fitted(flag.repeated(4), 2, PanelRowText::Side::right), flag.repeated(2));
    EXPECT_EQ(PanelRowText::fitted("ab", 4, PanelRowText::Side::right), QString("  ab"));
}
