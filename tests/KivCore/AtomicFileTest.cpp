#include "files/AtomicFile.h"

#include "TempDir.h"

using namespace kiv;
using namespace kiv::test;
namespace {

std::ptrdiff_t itemCount(const std::string& folder)
{
    return std::distance(std::filesystem::directory_iterator(folder), {});
}

TEST(AtomicFileTest, ReplacesContentsKeepingPermissionBitsAndLinksSymbolicAndHard)
{
    test::TempDir folder;
    auto path = folder.write("notes.txt", "old and longer contents\n");
    ::chmod(path.c_str(), 0640);
    std::filesystem::create_symlink("notes.txt", folder / "link.txt");
    AtomicFile::write(folder / "link.txt", "new\n");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.txt"));
    EXPECT_EQ(test::readFile(path), "new\n");
    EXPECT_EQ(modeOf(path), 0640);
    EXPECT_EQ(itemCount(folder.path()), 2) << "a temporary file was left";

    // A file with a second name stays one file, still shared with that name.
    std::filesystem::create_hard_link(path, folder / "second name");
    AtomicFile::write(path, "shared\n");
    EXPECT_EQ(test::readFile(folder / "second name"), "shared\n");
    EXPECT_TRUE(std::filesystem::equivalent(path, folder / "second name"));
    EXPECT_EQ(itemCount(folder.path()), 3) << "a temporary file was left";
}

TEST(AtomicFileTest, AFailureLeavesTheOldFileAndNoTemporaryFile)
{
    test::TempDir folder;
    folder.write("dir/inner");
    EXPECT_THROW(AtomicFile::write(folder / "dir", "x"), std::filesystem::filesystem_error);
    EXPECT_TRUE(std::filesystem::exists(folder / "dir/inner"));

    if (!test::permissionBitsBind(folder))
        GTEST_SKIP() << "permission bits do not bind for this process (root with DAC override)";
    ::chmod((folder / "dir").c_str(), 0555);
    EXPECT_THROW(AtomicFile::write(folder / "dir/inner", "lost?\n"), std::filesystem::filesystem_error);
    EXPECT_EQ(itemCount(folder / "dir"), 1);

    // A read-only file in a writable folder is not replaced behind its protection.
    ::chmod((folder / "dir").c_str(), 0755);
    ::chmod((folder / "dir/inner").c_str(), 0444);
    EXPECT_THROW(AtomicFile::write(folder / "dir/inner", "lost?\n"), std::filesystem::filesystem_error);
    EXPECT_EQ(test::readFile(folder / "dir/inner"), "");
}

} // namespace
