#include "panel/RowOrder.h"

#include "RowNames.h"

#include <gtest/gtest.h>

using namespace kiv;
using namespace kiv::test;
using Key = SortOrder::Key;
using Names = std::vector<std::string>;

namespace {

FileEntry row(std::string name, FileEntry::Kind kind, std::int64_t size = 0, int minute = 0)
{
    FileEntry entry;
    entry.name = std::move(name);
    entry.kind = kind;
    entry.size = size;
    if (minute)
        entry.modificationDate = FileTime(std::chrono::minutes(minute));
    return entry;
}

// Rows as a listing gives them: "..", folders, files, each in name order.
std::vector<FileEntry> listed()
{
    using K = FileEntry::Kind;
    return { row("..", K::parentDirectory), row("a.d", K::directory, 0, 9), row("b", K::directory, 0, 1),
        row(".bashrc", K::regularFile, 7, 3), row("a.txt", K::regularFile, 10, 2),
        row("B.TXT", K::regularFile, 30, 5), row("c.md", K::regularFile, 10, 4), row("d", K::regularFile, 30),
        row("e.md", K::regularFile, 5, 4) };
}

Names sorted(SortOrder order)
{
    auto rows = listed();
    RowOrder::sort(rows, order);
    return namesOf(rows);
}

} // namespace

TEST(RowOrderTest, KeysSortWithinFoldersAndFilesAndTiesKeepTheirNameOrder)
{
    const auto descending = SortOrder::Direction::descending;
    EXPECT_EQ(sorted({ Key::size }),
        (Names { "..", "a.d", "b", "e.md", ".bashrc", "a.txt", "c.md", "B.TXT", "d" }));
    EXPECT_EQ(sorted({ Key::size, descending }),
        (Names { "..", "a.d", "b", "B.TXT", "d", "a.txt", "c.md", ".bashrc", "e.md" }));
    // No date sorts as the oldest; equal dates keep the name order.
    EXPECT_EQ(sorted({ Key::modificationTime, descending }),
        (Names { "..", "a.d", "b", "B.TXT", "c.md", "e.md", ".bashrc", "a.txt", "d" }));
    // No extension first (a leading dot is no extension), extensions case-blind, ties by name.
    EXPECT_EQ(sorted({ Key::extension }),
        (Names { "..", "b", "a.d", ".bashrc", "d", "c.md", "e.md", "a.txt", "B.TXT" }));
    EXPECT_EQ(sorted({ Key::name, descending }),
        (Names { "..", "b", "a.d", "e.md", "d", "c.md", "B.TXT", "a.txt", ".bashrc" }));
    EXPECT_EQ(sorted({ Key::unsorted }), namesOf(listed()));

    // Choosing the same key again reverses it; another key, or unsorted, starts ascending.
    const SortOrder bySize = SortOrder().chosen(Key::size);
    EXPECT_EQ(bySize.chosen(Key::size), (SortOrder { Key::size, descending }));
    EXPECT_EQ(bySize.chosen(Key::size).chosen(Key::name), SortOrder {});
    EXPECT_EQ(SortOrder { Key::unsorted }.chosen(Key::unsorted), SortOrder { Key::unsorted });
}
