#include "text/KivFormat.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace kiv {

TEST(KivFormatTest, SizeColumnShowsDirForFoldersAndGroupedBytesOtherwise)
{
    EXPECT_EQ(
        KivFormat::size({ "/a", "a", FileEntry::Kind::directory, 0, std::nullopt, std::nullopt }), "<DIR>");
    EXPECT_EQ(KivFormat::size({ "/", "..", FileEntry::Kind::parentDirectory, 0, std::nullopt, std::nullopt }),
        "<DIR>");
    EXPECT_EQ(
        KivFormat::size({ "/a.zip", "a.zip", FileEntry::Kind::archive, 1234567, std::nullopt, std::nullopt }),
        "1,234,567");
    EXPECT_EQ(KivFormat::size({ "/l", "l", FileEntry::Kind::symlink, 12, std::nullopt, std::nullopt }), "12");
}

TEST(KivFormatTest, GroupsThousandsWithCommas)
{
    EXPECT_EQ(KivFormat::grouped(0), "0");
    EXPECT_EQ(KivFormat::grouped(100), "100");
    EXPECT_EQ(KivFormat::grouped(999), "999");
    EXPECT_EQ(KivFormat::grouped(1000), "1,000");
    EXPECT_EQ(KivFormat::grouped(-1234), "-1,234");
    EXPECT_EQ(KivFormat::grouped(-123456), "-123,456");
    EXPECT_EQ(KivFormat::grouped(12345678901), "12,345,678,901");
    EXPECT_EQ(KivFormat::grouped(INT64_MIN), "-9,223,372,036,854,775,808");
}

TEST(KivFormatTest, DateAndTimeInLocalTimeWithTwoDigitFields)
{
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    auto when = std::chrono::system_clock::from_time_t(1709651700); // 2024-03-05 15:15:00 UTC
    EXPECT_EQ(KivFormat::date(when), "03-05-24");
    EXPECT_EQ(KivFormat::time(when), "15:15");
    EXPECT_EQ(KivFormat::time(std::chrono::system_clock::from_time_t(1709600400)), "01:00");
    EXPECT_EQ(KivFormat::date(std::nullopt), "");
    EXPECT_EQ(KivFormat::time(std::nullopt), "");
}

TEST(KivFormatTest, HumanSizeStepsBy1024AndStopsAtTerabytes)
{
    EXPECT_EQ(KivFormat::humanSize(0), "0 bytes");
    EXPECT_EQ(KivFormat::humanSize(1), "1 bytes");
    EXPECT_EQ(KivFormat::humanSize(1023), "1023 bytes");
    EXPECT_EQ(KivFormat::humanSize(-5000), "-5000 bytes");
    EXPECT_EQ(KivFormat::humanSize(1024), "1.0 KB");
    EXPECT_EQ(KivFormat::humanSize(1536), "1.5 KB");
    EXPECT_EQ(KivFormat::humanSize(1048575), "1024.0 KB");
    EXPECT_EQ(KivFormat::humanSize(1073741824), "1.0 GB");
    EXPECT_EQ(KivFormat::humanSize(1099511627776), "1.0 TB");
    EXPECT_EQ(KivFormat::humanSize(1125899906842624), "1024.0 TB");
}

} // namespace kiv
