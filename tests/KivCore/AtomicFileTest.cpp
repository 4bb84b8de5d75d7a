#include "AtomicFile.h"

#include "ErrorText.h"
#include "TempDir.h"
#include "Utf8Text.h"
#include "Uuid.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <sys/stat.h>

namespace kiv {

namespace {

mode_t permissionBits(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

std::size_t itemCount(const std::string& folder)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

} // namespace

TEST(AtomicFileTest, ReplacesContentsKeepingPermissionBitsAndLinks)
{
    test::TempDir folder;
    auto path = folder.write("notes.txt", "old and longer contents\n");
    ::chmod(path.c_str(), 0640);
    AtomicFile::write(path, "new\n");
    EXPECT_EQ(test::readFile(path), "new\n");
    EXPECT_EQ(permissionBits(path), 0640u);

    // Saving through a link replaces the file behind it; the link stays a link.
    auto link = folder / "link.txt";
    std::filesystem::create_symlink("notes.txt", link);
    AtomicFile::write(link, "through the link\n");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::readFile(path), "through the link\n");
    EXPECT_EQ(permissionBits(path), 0640u);

    AtomicFile::write(folder / "fresh.txt", "");
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "fresh.txt"));
    EXPECT_EQ(itemCount(folder.path()), 3u) << "a temporary file was left";
}

TEST(AtomicFileTest, FailureLeavesTheOldFileAndNoTemporaryFile)
{
    test::TempDir folder;
    if (!test::permissionBitsBind(folder))
        GTEST_SKIP() << "permission bits do not bind for this process (root with DAC override)";
    auto path = folder.write("locked/menu.txt", "keep me\n");
    ::chmod((folder / "locked").c_str(), 0555);
    try {
        AtomicFile::write(path, "lost?\n");
        ADD_FAILURE() << "writing into a read-only folder succeeded";
    } catch (const std::exception& error) {
        EXPECT_EQ(userMessage(error), "Permission denied: " + path);
    }
    EXPECT_EQ(test::readFile(path), "keep me\n");
    EXPECT_EQ(itemCount(folder / "locked"), 1u);

    // A folder where the file should be is not replaced either.
    folder.folder("dir/inner");
    EXPECT_THROW(AtomicFile::write(folder / "dir", "x"), std::filesystem::filesystem_error);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "dir/inner"));
    EXPECT_EQ(itemCount(folder.path()), 2u);
}

TEST(Utf8TextTest, RejectsEveryIllFormedSequence)
{
    for (std::string_view valid :
        { "", "plain", "caf\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF" })
        EXPECT_TRUE(Utf8Text::isValid(valid)) << valid;
    for (std::string_view invalid : { "caf\xE9", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",
             "\xF4\x90\x80\x80", "\xE2\x82", "\x80", "\xF8\x88\x80\x80\x80", "ok\xC3" })
        EXPECT_FALSE(Utf8Text::isValid(invalid)) << ::testing::PrintToString(invalid);
}

TEST(Utf8TextTest, FirstCharacterIsOneUserPerceivedCharacter)
{
    EXPECT_EQ(Utf8Text::firstCharacter(""), "");
    EXPECT_EQ(Utf8Text::firstCharacter("12"), "1");
    EXPECT_EQ(Utf8Text::firstCharacter("\xC3\xA9t\xC3\xA9"), "\xC3\xA9");
    EXPECT_EQ(Utf8Text::firstCharacter("\xF0\x9F\x87\xA9\xF0\x9F\x87\xAAx"),
        "\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA"); // a flag
    EXPECT_EQ(Utf8Text::firstCharacter("\xE2\x82"), "\xE2\x82"); // a cut-off sequence stays whole
}

TEST(UuidTest, RandomStringsHaveTheVersionFourShapeAndDiffer)
{
    std::regex shape("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    auto first = Uuid::randomString();
    EXPECT_TRUE(std::regex_match(first, shape)) << first;
    EXPECT_NE(first, Uuid::randomString());
}

} // namespace kiv
