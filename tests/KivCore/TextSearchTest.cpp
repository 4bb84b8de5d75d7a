#include "search/TextSearch.h"

#include "TempDir.h"

#include <fcntl.h>

using namespace kiv;
using namespace kiv::test;
using Case = NamePatterns::LetterCase;
using Words = TextSearch::Words;
using Binaries = TextSearch::Binaries;

namespace {

constexpr std::size_t block = TextSearch::blockBytes;

// Whether `search` finds its text in a file holding `content`.
bool finds(TextSearch& search, const std::string& content)
{
    TempDir dir;
    dir.write("f", content);
    return search.foundIn(AT_FDCWD, (dir / "f").c_str(), dir / "f");
}

// `size` bytes of filler with `text` put at `at`.
std::string placed(const std::string& text, std::size_t at, std::size_t size)
{
    std::string content(size, '.');
    content.replace(at, text.size(), text);
    return content;
}

} // namespace

TEST(TextSearch, FindsTextThatStraddlesBlocksAndJudgesWordsAtTheirEdges)
{
    TextSearch anywhere("needle", Case::matched, Words::anywhere, Binaries::skipped);
    EXPECT_TRUE(finds(anywhere, placed("needle", block - 3, 2 * block)));
    EXPECT_TRUE(finds(anywhere, placed("needle", block - 6, block))); // ends the file
    EXPECT_TRUE(finds(anywhere, placed("needle", 2 * block - 1, 3 * block)));
    EXPECT_FALSE(finds(anywhere, placed("needl", block - 3, 2 * block)));

    TextSearch whole("needle", Case::matched, Words::whole, Binaries::skipped);
    EXPECT_FALSE(
        finds(whole, placed("needlex", block - 6, 2 * block))); // the letter after is in the next block
    EXPECT_TRUE(finds(whole, placed("needle ", block - 6, 2 * block)));
    EXPECT_FALSE(
        finds(whole, placed("xneedle", block - 1, 2 * block))); // the letter before is in the block before
    EXPECT_TRUE(finds(whole, placed(" needle", block - 1, 2 * block)));
    EXPECT_FALSE(
        finds(whole, placed("xneedle", block - 8, 2 * block))); // its start is kept for the next block
    EXPECT_TRUE(finds(whole, "needle"));
    EXPECT_FALSE(finds(whole, "needles and pins"));
}

TEST(TextSearch, MatchesCaseAsAskedAndSkipsBinaryFilesUnlessAsked)
{
    TextSearch ignoring("Hello", Case::ignored, Words::anywhere, Binaries::skipped);
    TextSearch matching("Hello", Case::matched, Words::anywhere, Binaries::skipped);
    EXPECT_TRUE(finds(ignoring, "say hELLo"));
    EXPECT_FALSE(finds(matching, "say hello"));
    EXPECT_FALSE(finds(matching, std::string("\0\1Hello", 7)));
    TextSearch binaries("Hello", Case::matched, Words::anywhere, Binaries::searched);
    EXPECT_TRUE(finds(binaries, std::string("\0\1Hello", 7)));
}
