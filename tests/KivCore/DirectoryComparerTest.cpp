#include "panel/DirectoryComparer.h"

#include <gtest/gtest.h>

using namespace kiv;
namespace {

using EntryKind = FileEntry::Kind;
using Names = std::set<std::string>;

FileEntry row(const std::string& name, EntryKind kind, std::int64_t size, std::optional<double> seconds)
{
    std::optional<FileTime> when;
    if (seconds)
        when = FileTime(
            std::chrono::duration_cast<FileTime::duration>(std::chrono::duration<double>(*seconds)));
    return { "/x/" + name, name, kind, size, when, std::nullopt };
}

FileEntry file(const std::string& name, std::int64_t size = 10, std::optional<double> seconds = 100.0)
{
    return row(name, EntryKind::regularFile, size, seconds);
}

TEST(DirectoryComparerTest, MarksMissingAndDifferingFilesOnTheRightSides)
{
    std::vector<FileEntry> left { row("..", EntryKind::parentDirectory, 0, std::nullopt), file("a.txt"),
        file("b.txt", 100), file("c.txt", 10, 100.0), file("c2.txt", 10, 100.0),
        row("d.zip", EntryKind::archive, 5, 100.0), file("same"), file("e") };
    std::vector<FileEntry> right { row("..", EntryKind::parentDirectory, 0, std::nullopt), file("b.txt", 101),
        file("c.txt", 10, 101.5), file("c2.txt", 10, 102.0), row("d.zip", EntryKind::archive, 5, std::nullopt),
        file("same"), row("e", EntryKind::directory, 0, 100.0), file("only-right") };

    const auto result = DirectoryComparer::compare(left, right);
    EXPECT_EQ(result.leftDifferent, (Names { "a.txt", "b.txt", "c2.txt", "d.zip", "e" }));
    EXPECT_EQ(result.rightDifferent, (Names { "b.txt", "c2.txt", "d.zip", "only-right" }));
}

TEST(DirectoryComparerTest, FoldersLinksIdenticalListingsAndDuplicateNamesNeverCount)
{
    std::vector<FileEntry> side { row("docs", EntryKind::directory, 0, 1.0), row("l", EntryKind::symlink, 3, 1.0),
        file("same"), file("undated", 3, std::nullopt) };
    EXPECT_EQ(DirectoryComparer::compare(side, side), DirectoryComparer::Result {});
    EXPECT_EQ(DirectoryComparer::compare(side, { file("same"), file("undated", 3, std::nullopt) }),
        DirectoryComparer::Result {});
    EXPECT_NO_THROW(DirectoryComparer::compare({ file("dup", 1), file("dup", 2) }, { file("dup", 1) }));
}

} // namespace
