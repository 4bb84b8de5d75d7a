#include "text/FileNameOrder.h"

#include "ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace kiv;
namespace {

std::vector<std::string> sorted(std::vector<std::string> names)
{
    std::vector<std::string_view> views(names.begin(), names.end());
    std::vector<std::string> result;
    for (auto index : FileNameOrder::sortedOrder(views))
        result.push_back(names[index]);
    return result;
}

bool isInCollatorOrder(const std::vector<std::string>& names)
{
    return std::is_sorted(names.begin(), names.end(), FileNameOrder::less);
}

TEST(FileNameOrderTest, PlainAsciiNamesSortExactlyAsTheCollatorOrdersThem)
{
    // Plain ASCII listings take a cheaper key; it must agree with the collator everywhere.
    std::mt19937 random(42);
    const std::string alphabet = "aAbBzZ019 _-.~!#()[]{}+,;=@'\t\x7f";
    std::vector<std::string> names;
    for (int i = 0; i < 3000; ++i) {
        std::string name;
        for (auto length = random() % 8 + 1; length > 0; --length)
            name += alphabet[random() % alphabet.size()];
        names.push_back(name);
    }
    EXPECT_TRUE(isInCollatorOrder(sorted(names)));
}

TEST(FileNameOrderTest, NamesThatAreNotUtf8StillSortTotallyAndStably)
{
    std::vector<std::string> names { "caf\xC3\xA9", "cafe", std::string("caf\xE9"), "Cafe", "\xFF\xFE" };
    auto once = sorted(names);
    std::reverse(names.begin(), names.end());
    EXPECT_EQ(sorted(names), once);
    EXPECT_TRUE(isInCollatorOrder(once));
}

TEST(FileNameOrderTest, TheOrderIsTheLanguageOfTheEnvironment)
{
    using Names = std::vector<std::string>;
    const Names names { "zebra", "\xC3\xA4pple", "apple" }; // Swedish sorts "ä" after "z"
    const Names swedish { "apple", "zebra", "\xC3\xA4pple" }, root { "apple", "\xC3\xA4pple", "zebra" };
    test::ScopedEnvironment all("LC_ALL", nullptr), collate("LC_COLLATE", nullptr);
    test::ScopedEnvironment lang("LANG", "sv_SE.UTF-8");
    EXPECT_EQ(sorted(names), swedish);
    test::ScopedEnvironment plain("LC_COLLATE", "C");
    EXPECT_EQ(sorted(names), root);
    test::ScopedEnvironment allSwedish("LC_ALL", "sv_SE");
    EXPECT_EQ(sorted(names), swedish);
    EXPECT_TRUE(isInCollatorOrder(swedish));
}

} // namespace
