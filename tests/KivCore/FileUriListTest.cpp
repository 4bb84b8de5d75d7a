#include "text/FileUriList.h"

#include <gtest/gtest.h>

using namespace kiv;

TEST(FileUriListTest, AnyPathMakesTheRoundTripThroughBothListsByteForByte)
{
    const std::vector<std::string> paths { "/home/me/two\nlines", "/tmp/a b%20c#?", "/tmp/\xff\xfe latin",
        "/tmp/\xc3\xa9t\xc3\xa9", "/tmp/-dash" };
    // A newline never reaches the list as itself: each path stays one line.
    const std::string list = FileUriList::uriList(paths);
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), std::ptrdiff_t(paths.size()));
    EXPECT_EQ(FileUriList::uriOf(paths[0]), "file:///home/me/two%0Alines");

    const FileUriList::Files read = FileUriList::fromUriList(list);
    EXPECT_EQ(read.paths, paths);
    EXPECT_FALSE(read.cut);
    EXPECT_TRUE(read.others.empty());
    for (bool cut : { false, true }) {
        const std::optional<FileUriList::Files> copied
            = FileUriList::fromCopiedFiles(FileUriList::copiedFiles(paths, cut));
        ASSERT_TRUE(copied);
        EXPECT_EQ(copied->paths, paths);
        EXPECT_EQ(copied->cut, cut);
    }
}

TEST(FileUriListTest, OnlyFilesOfThisMachineAreTakenAndTheRestIsKeptByName)
{
    const FileUriList::Files read = FileUriList::fromUriList("# a comment\r\n"
                                                             "FILE://localhost/etc/hosts\r\n"
                                                             "file:/usr/bin\n"
                                                             "file://otherhost/etc/passwd\r\n"
                                                             "file://localhostile/etc/passwd\r\n"
                                                             "https://example.org/file\r\n"
                                                             "file:///bad%zzescape\r\n"
                                                             "file:///a%00b\r\n"
                                                             "file://\r\n"
                                                             "file:relative/path\r\n"
                                                             "\r\n"
                                                             "file:///last");
    EXPECT_EQ(read.paths, (std::vector<std::string> { "/etc/hosts", "/usr/bin", "/last" }));
    EXPECT_EQ(read.others,
        (std::vector<std::string> { "file://otherhost/etc/passwd", "file://localhostile/etc/passwd",
            "https://example.org/file", "file:///bad%zzescape", "file:///a%00b", "file://",
            "file:relative/path" }));

    // What does not start with copy or cut is no list of copied files.
    for (const char* text : { "", "move\nfile:///a", "file:///a", "Copy\nfile:///a" })
        EXPECT_FALSE(FileUriList::fromCopiedFiles(text)) << text;
    const std::optional<FileUriList::Files> cut = FileUriList::fromCopiedFiles("cut\r\nfile:///a\r\n");
    ASSERT_TRUE(cut);
    EXPECT_TRUE(cut->cut);
    EXPECT_EQ(cut->paths, std::vector<std::string> { "/a" });
}
