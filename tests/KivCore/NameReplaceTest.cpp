#include "rename/NameReplace.h"

#include "base/KivError.h"

#include <gtest/gtest.h>

using namespace kiv;
using Syntax = NameReplace::Syntax;

TEST(NameReplaceTest, ReplacesEveryOccurrenceOfPlainText)
{
    EXPECT_EQ(NameReplace("a", "aa", Syntax::plainText).apply("banana"), "baanaanaa");
    EXPECT_EQ(NameReplace(".", "_", Syntax::plainText).apply("a.b.c"), "a_b_c");
    EXPECT_EQ(NameReplace("", "x", Syntax::plainText).apply("name"), "name");
    EXPECT_EQ(NameReplace("b", "c", Syntax::plainText)
                  .apply("a\xFF"
                         "b"),
        "a\xFF"
        "c");
}

TEST(NameReplaceTest, RegularExpressionsWorkOnCharactersAndKeepStrayBytes)
{
    EXPECT_EQ(NameReplace("(\\d+)-(\\d+)", "$2-$1", Syntax::regularExpression).apply("IMG 10-20.jpg"),
        "IMG 20-10.jpg");
    // One "." is one character, "é" included: by bytes it would match half of it.
    EXPECT_EQ(NameReplace("^.$", "x", Syntax::regularExpression).apply("\xC3\xA9"), "x");
    EXPECT_EQ(NameReplace("[^a]", "-", Syntax::regularExpression).apply("a\xFF\xC3\xA9"), "a--");
    EXPECT_EQ(NameReplace("b", "c", Syntax::regularExpression)
                  .apply("\xFF"
                         "b\xFE"),
        "\xFF"
        "c\xFE");
}

TEST(NameReplaceTest, CatastrophicExpressionsEndQuicklyAndBadOnesAreRefused)
{
    EXPECT_THROW(NameReplace("([a-", "x", Syntax::regularExpression), KivError);
    EXPECT_THROW(NameReplace("a", "b", Syntax::plainText).apply(std::string(2000, 'a')), KivError);
#ifndef __GLIBCXX__
    GTEST_SKIP() << "only GCC's library matches in polynomial time";
#endif
    // A backtracking matcher takes about 2^60 steps on this; the polynomial one a blink.
    const std::string name = std::string(60, 'a') + "!";
    EXPECT_EQ(NameReplace("(a+)+$", "x", Syntax::regularExpression).apply(name), name);
    EXPECT_EQ(NameReplace("(a|aa)*b", "x", Syntax::regularExpression).apply(name), name);
    EXPECT_THROW(NameReplace("(a)\\1", "x", Syntax::regularExpression), KivError);
}
