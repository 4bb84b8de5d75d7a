#include "text/Utf8Text.h"

#include <gtest/gtest.h>

using namespace kiv;

TEST(Utf8TextTest, ValidTextIsUnchangedAndEachIllFormedPartBecomesOneReplacement)
{
    const std::string valid = "plain \xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xED\x9F\xBF";
    const std::string r = "\xEF\xBF\xBD";
    // Latin-1, truncated before a letter or at the end, overlong, a surrogate, past U+10FFFF, stray bytes.
    for (const auto& [bytes, shown] :
        std::initializer_list<std::pair<std::string, std::string>> { { valid, valid }, { "", "" },
            { "caf\xE9", "caf" + r }, { std::string("\xE2\x82") + "A", r + "A" }, { "\xE2\x82", r },
            { "\xC0\x80", r + r }, { "\xED\xA0\x80", r + r + r }, { "\xF4\x90\x80\x80", r + r + r + r },
            { "\x80\xC3\xA9\xFF", r + "\xC3\xA9" + r } })
        EXPECT_EQ(Utf8Text::decodingLossily(bytes), shown) << bytes;
}

TEST(Utf8TextTest, AnyBytesComeBackFromTheirReversibleTextWhichIsValidAndKeepsValidCharacters)
{
    EXPECT_EQ(Utf8Text::reversibleText("caf\xE9 \xC3\xA9"), "caf\xEF\x9F\xA9 \xC3\xA9"); // U+F7E9 for 0xE9
    // Every pair of bytes, alone and after EF (which begins the stand-ins' own encoding).
    for (int pair = 0; pair < 0x10000; ++pair) {
        const std::string bytes { char(pair >> 8), char(pair & 0xFF) };
        for (const std::string& name : { bytes, "\xEF" + bytes }) {
            const std::string text = Utf8Text::reversibleText(name);
            ASSERT_TRUE(Utf8Text::isValid(text)) << name;
            ASSERT_EQ(Utf8Text::reversibleBytes(text), name);
        }
    }
}
