#include "files/HexPager.h"
#include "files/HexSearch.h"

#include "BytesRead.h"
#include "TempDir.h"

#include <fcntl.h>
#include <sys/stat.h>

using namespace kiv;
using namespace kiv::test;

namespace {

// A sparse file of `size` bytes ending in `tail`: it costs no disk, and reading it whole would
// show in the bytes read.
std::string sparseEndingIn(const TempDir& scratch, const std::string& name, std::int64_t size, const std::string& tail)
{
    const std::string path = scratch.write(name);
    EXPECT_EQ(::truncate(path.c_str(), size), 0);
    const int fd = ::open(path.c_str(), O_WRONLY);
    EXPECT_EQ(::pwrite(fd, tail.data(), tail.size(), size - std::int64_t(tail.size())), ssize_t(tail.size()));
    ::close(fd);
    return path;
}

} // namespace

TEST(HexPagerTest, EveryLineOfAHugeFileIsReachedReadingOnlyThePagesAskedFor)
{
    TempDir scratch;
    const std::int64_t size = (std::int64_t(2) << 30) + 5;
    HexPager pager(sparseEndingIn(scratch, "two-gib.bin", size, "Tail!"));
    ASSERT_TRUE(pager.isOpen());
    EXPECT_EQ(pager.size(), size);
    EXPECT_EQ(pager.lineCount(), (std::int64_t(2) << 26) + 1);

    const std::uint64_t before = bytesReadSoFar();
    const std::vector<std::string> last = pager.lines(pager.lineCount() - 2, 10);
    ASSERT_EQ(last.size(), 2u);
    std::string zeros;
    for (int byte = 0; byte < 16; ++byte)
        zeros += "00 ";
    EXPECT_EQ(last[0], "7FFFFFF0  " + zeros + "  ................");
    EXPECT_EQ(last[1], "80000000  54 61 69 6C 21" + std::string(48 - 14, ' ') + "  Tail!");
    EXPECT_TRUE(pager.lines(pager.lineCount(), 3).empty());
    EXPECT_EQ(pager.lines(12345, 3).front().substr(0, 8), "00030390");
    // The last lines span two pages and the middle ones take a third; asked again, the lines of
    // the pages kept cost no read.
    pager.lines(pager.lineCount() - 2, 10);
    EXPECT_LE(bytesReadSoFar() - before, std::uint64_t(3 * HexPager::pageSize));

    // Past 4 GiB every line of the file takes nine digits.
    HexPager bigger(sparseEndingIn(scratch, "five-gib.bin", std::int64_t(5) << 30, "x"));
    EXPECT_EQ(bigger.lines(0, 1).front().substr(0, 11), "000000000  ");
    EXPECT_EQ(bigger.lines(bigger.lineCount() - 1, 1).front().substr(0, 11), "13FFFFFF0  ");
}

TEST(HexPagerTest, MissingFilesAndPipesShowNothingAndNeverHang)
{
    TempDir scratch;
    HexPager missing(scratch / "missing");
    EXPECT_FALSE(missing.isOpen());
    EXPECT_TRUE(missing.lines(0, 5).empty());
    EXPECT_FALSE(missing.findFrom("a", 0, 100, 100).found);

    const std::string fifo = scratch / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    HexPager pipe(fifo);
    EXPECT_EQ(pipe.size(), 0);
    EXPECT_TRUE(pipe.lines(0, 5).empty());
}

TEST(HexPagerTest, ASearchGoesInStepsAcrossReadBlocksIgnoringAsciiCaseAndWrapsRoundOnce)
{
    TempDir scratch;
    // The match straddles the first 1 MiB read block; a lookalike differs only in a non-ASCII byte.
    std::string bytes(3 << 20, '\0');
    const std::int64_t at = (1 << 20) - 3;
    bytes.replace(std::size_t(at), 6, "NeeDLe");
    bytes.replace(100, 8, "needl\xC3\xA9!");
    HexPager pager(scratch.write("haystack.bin", bytes));

    HexSearch search(pager, "nEEdle", 0);
    EXPECT_EQ(search.step(256 << 10), HexSearch::State::going);
    EXPECT_EQ(search.percentDone(), 8);
    while (search.step(256 << 10) == HexSearch::State::going) { }
    ASSERT_EQ(search.step(1), HexSearch::State::found);
    EXPECT_EQ(search.matchOffset(), at);
    EXPECT_EQ(search.needleLength(), 6);

    // From just after it, the search runs to the end, wraps, and finds the same match again.
    HexSearch again(pager, "needle", at + 1);
    int steps = 0;
    while (again.step(1 << 20) == HexSearch::State::going)
        ++steps;
    EXPECT_EQ(again.step(1), HexSearch::State::found);
    EXPECT_EQ(again.matchOffset(), at);
    EXPECT_GE(steps, 2);

    HexSearch absent(pager, "needl\xC3\x89", 5);
    while (absent.step(1 << 20) == HexSearch::State::going) { }
    EXPECT_EQ(absent.step(1), HexSearch::State::notFound);
    EXPECT_EQ(absent.percentDone(), 100);
}
