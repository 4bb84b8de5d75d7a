#include "text/Utf8Text.h"

#include <gtest/gtest.h>

using namespace kiv;

TEST(Utf8TextTest, ValidTextIsUnchangedAndEachIllFormedPartBecomesOneReplacement)
{
    const std::string valid = "plain \xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xED\x9F\xBF";
    EXPECT_EQ(Utf8Text::decodingLossily(valid), valid);
    EXPECT_EQ(Utf8Text::decodingLossily(""), "");

    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(Utf8Text::decodingLossily("caf\xE9"), "caf" + r);
    EXPECT_EQ(Utf8Text::decodingLossily("\xE2\x82"
                                        "A"),
        r + "A"); // truncated, then a letter
    EXPECT_EQ(Utf8Text::decodingLossily("\xE2\x82"), r); // truncated at the end
    EXPECT_EQ(Utf8Text::decodingLossily("\xC0\x80"), r + r); // overlong
    EXPECT_EQ(Utf8Text::decodingLossily("\xED\xA0\x80"), r + r + r); // surrogate
    EXPECT_EQ(Utf8Text::decodingLossily("\xF4\x90\x80\x80"), r + r + r + r); // above U+10FFFF
    EXPECT_EQ(Utf8Text::decodingLossily("\x80\xC3\xA9\xFF"), r + "\xC3\xA9" + r);
}
