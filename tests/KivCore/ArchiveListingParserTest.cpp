#include "archives/ArchiveListingParser.h"

#include <gtest/gtest.h>

using namespace kiv;

namespace {

using Entries = std::vector<ArchiveRawEntry>;
using Layout = ArchiveListingParser::Layout;

// Parses `listing` whole and fed one byte at a time: lines split between pieces must parse the same.
Entries parsed(std::string_view listing, Layout layout)
{
    ArchiveListingParser parser(layout);
    for (char byte : listing)
        parser.append(std::string_view(&byte, 1));
    const Entries whole = layout == Layout::zip ? ArchiveListingParser::parseZipListing(listing)
                                                : ArchiveListingParser::parseTarListing(listing);
    EXPECT_EQ(parser.finish(), whole);
    return whole;
}

} // namespace

TEST(ArchiveListingParserTest, ZipLinesKeepTheWholeNameAndSkipEverythingElse)
{
    // The header, rules and totals of a real listing are read in ArchiveServiceTest.
    const std::string listing = "  Length      Date    Time    Name\n"
                                "     5120  03-02-2024 09:15   docs/read  me.txt\n"
                                "      120  03-02-2024 09:15   Name\n"
                                "       -1  03-02-2024 09:15   odd\tname \n"
                                "    1,024  03-02-2024 09:15   skipped.txt\n"
                                "       +7  03-02-2024 09:15   plus.txt\n"
                                "       +-7  03-02-2024 09:15   skipped.txt\n"
                                "        5  03-02-2024 09:15\n"
                                "        9  2024-03-02 10:00   no-newline-at-end";
    EXPECT_EQ(parsed(listing, Layout::zip),
        (Entries { { "docs/read  me.txt", 5120, "03-02-2024" }, { "Name", 120, "03-02-2024" },
            { "odd\tname ", -1, "03-02-2024" }, { "plus.txt", 7, "03-02-2024" },
            { "no-newline-at-end", 9, "2024-03-02" } }));
}

// Only a link's line carries a target after the name; any other member named "a -> b" keeps it.
TEST(ArchiveListingParserTest, BothTarLayoutsGiveNamesWithEscapesUndoneAndLinksWithoutTheirTarget)
{
    const std::string listing = "drwxr-xr-x  0 ann  staff       0 Mar  2 09:15 src/\n"
                                "-rw-r--r--  0 ann  staff    2048 Mar  2 09:15 src/main  file.c\n"
                                "lrwxr-xr-x  0 ann  staff       0 Jan 15  2023 src/current -> main file.c\n"
                                "-rw-r--r--  0 ann  staff     1,0 Mar  2 09:15 skipped\n"
                                "-rw-r--r--  0 ann  staff       3 Mar  2 09:15\n"
                                "-rw-r--r--  0 root   root        1 Dec  6 10:02 back\\\\slash\\351\n"
                                "-rw-r--r--  0 root   root        2 Dec  6 09:52 d/a -> b.txt\n"
                                "hrw-r--r--  0 root   root        0 Dec  6 09:52 d/plain link to d/hard\n"
                                "-rw-r--r--  0 root   root        2 Dec  6 09:52 d/blink to x\n"
                                "-rw-r--r-- root/root         2 2026-12-06 09:08 two  spaces\\there\n"
                                "lrwxrwxrwx root/root         0 2026-12-06 09:08 link -> docs/a.txt\n"
                                "hrw-r--r-- root/root         0 2026-12-06 09:08 hard link to docs/a.txt\n"
                                "crw-r--r-- root/root       1,3 2026-12-06 09:08 dev/null\n"
                                "-rw-r--r-- 1000 2 2026-12-06 09:08 no-owner-group\n";
    EXPECT_EQ(parsed(listing, Layout::tar),
        (Entries { { "src/", 0, "Mar 2 09:15" }, { "src/main  file.c", 2048, "Mar 2 09:15" },
            { "src/current", 0, "Jan 15 2023" }, { "back\\slash\xE9", 1, "Dec 6 10:02" },
            { "d/a -> b.txt", 2, "Dec 6 09:52" }, { "d/plain", 0, "Dec 6 09:52" },
            { "d/blink to x", 2, "Dec 6 09:52" }, { "two  spaces\there", 2, "2026-12-06 09:08" },
            { "link", 0, "2026-12-06 09:08" }, { "hard", 0, "2026-12-06 09:08" } }));
}
