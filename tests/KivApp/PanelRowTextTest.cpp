#include "PanelRowText.h"
#include "KivFormat.h"

#include <gtest/gtest.h>

using namespace kiv;

namespace {

FileEntry entry(
    std::string name, FileEntry::Kind kind, std::int64_t size = 0, std::optional<FileTime> when = {})
{
    FileEntry made;
    made.id = "/x/" + name;
    made.name = std::move(name);
    made.kind = kind;
    made.size = size;
    made.modificationDate = when;
    return made;
}

std::string text(const QString& value)
{
    return value.toStdString();
}

} // namespace

TEST(PanelRowTextTest, RowsKeepTheirColumnsAndCutWhatDoesNotFit)
{
    const FileTime when = std::chrono::system_clock::now();
    const std::string dateAndTime = "  " + KivFormat::date(when) + "  " + KivFormat::time(when);

    EXPECT_EQ(text(PanelRowText::row(entry("a.txt", FileEntry::Kind::regularFile, 1234, when))),
        " a.txt                        1,234" + dateAndTime);
    EXPECT_EQ(text(PanelRowText::row(entry("..", FileEntry::Kind::parentDirectory))),
        " [..]                         <DIR>    ");
    // 30 characters show their first 23; a bracketed folder name of 22 loses its closing bracket.
    EXPECT_EQ(text(PanelRowText::row(entry(std::string(30, 'n'), FileEntry::Kind::regularFile, 5, when))),
        " " + std::string(23, 'n') + "          5" + dateAndTime);
    EXPECT_EQ(text(PanelRowText::row(entry(std::string(22, 'd'), FileEntry::Kind::directory, 0, when))),
        " [" + std::string(22, 'd') + "      <DIR>" + dateAndTime);
    // A 12-digit size keeps its first 11 characters.
    EXPECT_EQ(
        text(PanelRowText::row(entry("big", FileEntry::Kind::archive, 100'000'000'000, when))).substr(24, 11),
        "100,000,000");
    EXPECT_EQ(text(PanelRowText::columnHeader()), " Name                          Size  Date      Time");
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
    EXPECT_EQ(PanelRowText::fitted("abcd", 4, PanelRowText::Side::left), QString("abcd"));

    // A name that is not UTF-8 still gets a row of the usual width.
    const QString broken = PanelRowText::row(entry("bad\xff\xfename", FileEntry::Kind::regularFile, 1));
    EXPECT_EQ(broken.left(24).size(), 24);
    EXPECT_EQ(broken.mid(24, 11), QString("          1"));
}
