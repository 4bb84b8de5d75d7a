#include "rename/NameCase.h"

#include <gtest/gtest.h>

using namespace kiv;
using Choice = NameCase::Choice;

TEST(NameCaseTest, ChangesTheCaseOfLettersInAnyScript)
{
    EXPECT_EQ(NameCase::apply("\xC3\x89t\xC3\xA9 ABC.Txt", Choice::lower), "\xC3\xA9t\xC3\xA9 abc.txt");
    EXPECT_EQ(NameCase::apply("stra\xC3\x9F"
                              "e.txt",
                  Choice::upper),
        "STRASSE.TXT");
    EXPECT_EQ(NameCase::apply("01 \xC3\x89T\xC3\x89.MP3", Choice::firstLetter), "01 \xC3\x89t\xC3\xA9.mp3");
    EXPECT_EQ(NameCase::apply("MiXeD", Choice::asIs), "MiXeD");
}

TEST(NameCaseTest, LeavesBytesThatAreNotUtf8AsTheyAre)
{
    // Decoded as a whole, the stray bytes would come back as U+FFFD and the name would be lost.
    EXPECT_EQ(NameCase::apply("AB\xFF\xFE"
                              "CD",
                  Choice::lower),
        "ab\xFF\xFE"
        "cd");
    EXPECT_EQ(NameCase::apply("\xFF"
                              "abc",
                  Choice::firstLetter),
        "\xFF"
        "Abc");
    EXPECT_EQ(NameCase::apply("ab\xC3", Choice::upper), "AB\xC3");
    EXPECT_EQ(NameCase::apply("\xE2\x82", Choice::upper), "\xE2\x82");
}
