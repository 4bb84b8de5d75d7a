#include "text/WordWrap.h"

#include <gtest/gtest.h>

using namespace kiv;
using Lines = std::vector<std::string>;

TEST(WordWrapTest, BreaksAtBlanksWithinTheWidthAndCutsOnlyWordsLongerThanALine)
{
    EXPECT_EQ(WordWrap::lines("", 10), Lines { "" });
    EXPECT_EQ(WordWrap::lines("one two three", 13), Lines { "one two three" }); // exactly fits
    EXPECT_EQ(WordWrap::lines("one two three", 12), (Lines { "one two", "three" }));
    EXPECT_EQ(WordWrap::lines("one two three", 3), (Lines { "one", "two", "thr", "ee" }));
    // The blanks at a break go; runs of blanks count as one.
    EXPECT_EQ(WordWrap::lines("  a   b  ", 1), (Lines { "a", "b" }));
    EXPECT_EQ(WordWrap::lines("ab cdefghij k", 4), (Lines { "ab", "cdef", "ghij", "k" }));
    // Characters, not bytes: "é" is two bytes and one character, and a cut never splits it.
    EXPECT_EQ(WordWrap::lines("caf\xC3\xA9 ol\xC3\xA9", 4), (Lines { "caf\xC3\xA9", "ol\xC3\xA9" }));
    EXPECT_EQ(WordWrap::lines("\xC3\xA9\xC3\xA9\xC3\xA9", 2), (Lines { "\xC3\xA9\xC3\xA9", "\xC3\xA9" }));
}
