#include "text/KivFormat.h"

#include "ScopedEnvironment.h"
#include "TempDir.h"
#include "jobs/ProgressText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>

using namespace kiv;

TEST(KivFormatTest, SizesAreGroupedByThousandsOrShownInBinaryUnits)
{
    for (auto [value, text] : { std::pair<std::int64_t, const char*> { 0, "0" }, { 999, "999" },
             { 1000, "1,000" }, { -1234, "-1,234" }, { -123456, "-123,456" },
             { 12345678901, "12,345,678,901" }, { INT64_MIN, "-9,223,372,036,854,775,808" } })
        EXPECT_EQ(KivFormat::grouped(value), text);
    for (auto [value, text] : { std::pair<std::int64_t, const char*> { 1023, "1023 bytes" },
             { -5000, "-5000 bytes" }, { 1024, "1.0 KB" }, { 1536, "1.5 KB" }, { 1048575, "1024.0 KB" },
             { 1073741824, "1.0 GB" }, { 1099511627776, "1.0 TB" }, { 1125899906842624, "1024.0 TB" } })
        EXPECT_EQ(KivFormat::humanSize(value), text);
    // A size column shows the grouped number while it fits, never a cut one.
    const auto column = [](std::int64_t size, FileEntry::Kind kind = FileEntry::Kind::regularFile) {
        return KivFormat::size({ "/x", "x", kind, size, std::nullopt, std::nullopt }, 11);
    };
    EXPECT_EQ(column(999'999'999), "999,999,999");
    EXPECT_EQ(column(2'147'483'648), "2.0 GB");
    EXPECT_EQ(column(0, FileEntry::Kind::directory), "<DIR>");
}

TEST(KivFormatTest, DateAndTimeInLocalTimeWithTwoDigitFieldsBeforeAndLongAfter1970)
{
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    const auto at
        = [](std::int64_t microseconds) { return FileTime(std::chrono::microseconds(microseconds)); };
    for (auto [when, text] : { std::pair { at(1709651700'000'000), "03-05-24 15:15" },
             { at(1709600400'000'000), "03-05-24 01:00" }, { at(-500'000), "12-31-69 23:59" },
             { at(9254341200'250'000), "04-05-63 10:20" } }) // 2263, past the nanosecond clock's end
        EXPECT_EQ(KivFormat::date(when) + " " + KivFormat::time(when), text);
    EXPECT_EQ(KivFormat::date(std::nullopt) + KivFormat::time(std::nullopt), "");
}

TEST(KivFormatTest, SizesAndProgressReadTheSameUnderAGermanLocale)
{
    // The system's German locale, or one made here where it has none (a fresh Debian has none).
    test::TempDir locales;
    test::ScopedEnvironment path("LOCPATH", nullptr);
    // Made in Latin-1, which takes a fraction of the time UTF-8 does and writes numbers the same.
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        locales.run("localedef -i de_DE -f ISO-8859-1 ./de_DE");
        ::setenv("LOCPATH", locales.path().c_str(), 1);
        ASSERT_NE(std::setlocale(LC_ALL, "de_DE"), nullptr);
    }
    const std::string decimalSign = std::localeconv()->decimal_point;
    EXPECT_EQ(decimalSign, ",");
    const std::string human = KivFormat::humanSize(1536) + " " + KivFormat::humanSize(2147483648);
    const std::string grouped = KivFormat::grouped(1234567);
    JobProgress progress;
    progress.phase = JobProgress::Phase::working;
    progress.bytesDone = 1536;
    progress.bytesTotal = 3 * 1024;
    const std::string pace = ProgressText::pace(progress, 1.0);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(human, "1.5 KB 2.0 GB");
    EXPECT_EQ(grouped, "1,234,567");
    EXPECT_EQ(pace, "1.5 KB/s, 0:01 left");
}
