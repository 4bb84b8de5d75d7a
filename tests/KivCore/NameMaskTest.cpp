#include "rename/NameMask.h"

#include "ScopedEnvironment.h"
#include "base/KivError.h"

#include <ctime>
#include <gtest/gtest.h>

using namespace kiv;
using namespace kiv::test;

namespace {

std::string masked(
    const std::string& mask, std::string_view name, std::int64_t counter = 1, bool folder = false)
{
    return NameMask(mask).apply({ name, folder, std::nullopt }, counter);
}

} // namespace

TEST(NameMaskTest, FillsTheFieldsCountingCharactersNotBytes)
{
    EXPECT_EQ(masked("[N]_[C:3].[E]", "photo.jpg", 7), "photo_007.jpg");
    EXPECT_EQ(masked("[C]-[C:2]", "x", 123), "123-123");
    EXPECT_EQ(masked("[C:3]", "x", -4), "-004");
    EXPECT_EQ(masked("[N2-4]|[N3]|[N4-]|[N9-]", "abcdef.txt"), "bcd|c|def|");
    EXPECT_EQ(masked("[E1-2]", "a.tar.gz"), "gz");
    // Cut by bytes, "żółw" would lose half of a letter.
    EXPECT_EQ(masked("[N2-3]", "\xC5\xBC\xC3\xB3\xC5\x82w"), "\xC3\xB3\xC5\x82");
    // A byte that is not UTF-8 counts as one character and is copied whole.
    EXPECT_EQ(masked("[N2]", "a\xFF\x62"), "\xFF");
    EXPECT_EQ(masked("[[]N[]]", "x"), "[N]");
}

TEST(NameMaskTest, TheDefaultMaskKeepsEveryNameAsItIs)
{
    for (const char* name : { "photo.jpg", "README", ".bashrc", "file.", "a.tar.gz", "..x" })
        EXPECT_EQ(masked("[N].[E]", name), name);
    EXPECT_EQ(masked("[N].[E]", "my.dir", 1, true), "my.dir");
    EXPECT_EQ(masked("[E]", "my.dir", 1, true), "");
    // Only a "." written right before [E] goes, never one the name brings.
    EXPECT_EQ(masked("[N1].[E]", ".bashrc"), ".");
}

TEST(NameMaskTest, RefusesFieldsItCannotRead)
{
    for (const char* mask : { "[N", "[X]", "[C:0]", "[C:99]", "[C3]", "[N0]", "[N5-2]", "[N2x]", "[]" })
        EXPECT_THROW(NameMask { mask }, KivError) << mask;
}

TEST(NameMaskTest, WritesTheModificationDateAndTimeInTheLocalZone)
{
    ScopedEnvironment zone("TZ", "UTC");
    ::tzset();
    const FileTime when { std::chrono::seconds(1717164309) }; // 2024-05-31 14:05:09 UTC
    EXPECT_EQ(NameMask("[N] [D] [T]").apply({ "a.txt", false, when }, 1), "a 2024-05-31 14-05-09");
    EXPECT_EQ(NameMask("[D]").apply({ "a.txt", false, std::nullopt }, 1), "");
}
