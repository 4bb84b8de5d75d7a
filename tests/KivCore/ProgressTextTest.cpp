#include "jobs/ProgressText.h"

#include <gtest/gtest.h>

using namespace kiv;

TEST(ProgressTextTest, LinesFollowTheRecordAndNeverOverflow)
{
    JobProgress progress;
    progress.itemsTotal = 3000;
    EXPECT_EQ(ProgressText::items(progress), "Counting... 3,000 items");
    EXPECT_EQ(ProgressText::percent(progress), 0);
    EXPECT_EQ(ProgressText::pace(progress, 5), "") << "no speed while counting";

    progress.phase = JobProgress::Phase::working;
    progress.itemsDone = 1204;
    progress.bytesTotal = 4LL << 30;
    progress.bytesDone = 1LL << 30;
    EXPECT_EQ(ProgressText::items(progress), "1,204 of 3,000 items");
    EXPECT_EQ(ProgressText::bytes(progress), "1.0 GB of 4.0 GB");
    EXPECT_EQ(ProgressText::percent(progress), 25) << "bytes weigh more than items";
    EXPECT_EQ(ProgressText::pace(progress, 10), "102.4 MB/s, 0:30 left");
    EXPECT_EQ(ProgressText::bar(1, 4, 8), "\u2588\u2588\u2591\u2591\u2591\u2591\u2591\u2591");
    // Counted totals can be passed (a file grew while copied): the bar stays its width.
    EXPECT_EQ(ProgressText::bar(9, 4, 4), "\u2588\u2588\u2588\u2588");
    EXPECT_EQ(ProgressText::bar(0, 0, 2), "\u2591\u2591");
    progress.bytesDone = 5LL << 30;
    EXPECT_EQ(ProgressText::percent(progress), 100);
    EXPECT_EQ(ProgressText::pace(progress, 10), "512.0 MB/s, 0:00 left");

    // Working before the count has landed: no total to set the work against.
    const JobProgress uncounted { JobProgress::Phase::working, 0, 1204, 0, 1LL << 30, "", 0, 0 };
    EXPECT_EQ(std::tuple(ProgressText::items(uncounted), ProgressText::bytes(uncounted),
                  ProgressText::pace(uncounted, 10), ProgressText::percent(uncounted)),
        std::tuple(std::string("1,204 items"), std::string("1.0 GB"), std::string("102.4 MB/s"), 0));
}
