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
