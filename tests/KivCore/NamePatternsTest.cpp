#include "text/NamePatterns.h"

#include <gtest/gtest.h>

using namespace kiv;

namespace {

// The names of `names` that `patterns` matches, joined by blanks.
std::string matching(const NamePatterns& patterns, std::initializer_list<const char*> names)
{
    std::string found;
    for (const char* name : names) {
        if (patterns.matches(name))
            found.append(found.empty() ? "" : " ").append(name);
    }
    return found;
}

} // namespace

TEST(NamePatternsTest, WildcardsSetsSeparatorsAndCase)
{
    const auto names = { "a.txt", "B.TXT", "notes.md", "a.txt.bak", "x", "ab", "Été.txt", "a;b", "a,b" };
    EXPECT_EQ(matching(NamePatterns("*.txt"), names), "a.txt B.TXT Été.txt");
    EXPECT_EQ(matching(NamePatterns("*.txt", NamePatterns::LetterCase::matched), names), "a.txt Été.txt");
    EXPECT_EQ(matching(NamePatterns(" *.md ;x, ?b"), names), "notes.md x ab");
    // "?" is one character, even one of two bytes; ÉTÉ folds to été.
    EXPECT_EQ(matching(NamePatterns("?t?.TXT"), names), "Été.txt");
    EXPECT_EQ(matching(NamePatterns("[a-b]*[!t]"), names), "a.txt.bak ab a;b a,b");
    EXPECT_EQ(matching(NamePatterns("[^a]*"), names), "B.TXT notes.md x Été.txt");
    // Separators inside a set or escaped belong to the pattern; an unclosed "[" is itself.
    EXPECT_EQ(matching(NamePatterns("a[;]b"), names), "a;b");
    EXPECT_EQ(matching(NamePatterns("a\\,b"), names), "a,b");
    EXPECT_TRUE(NamePatterns("a[b").matches("a[b"));
    EXPECT_FALSE(NamePatterns(" ; ,").matches(""));
    // Backtracking over several stars, and bytes that are not UTF-8 match only themselves.
    EXPECT_TRUE(NamePatterns("*a*b*c").matches("xaxxbxbxxc"));
    EXPECT_FALSE(NamePatterns("*a*b*c").matches("xaxxbxbxxcd"));
    EXPECT_TRUE(NamePatterns("?\xff*").matches("z\xff"));
    EXPECT_FALSE(NamePatterns("\xfe").matches("\xff"));
}
