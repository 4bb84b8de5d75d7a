#include "compare/FileCompareJob.h"

#include "JobScript.h"
#include "TempDir.h"
#include "base/KivError.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kiv;
using namespace kiv::test;

TEST(FileCompareJobTest, LinesAreReadAcrossBlocksWithTheirEndsAndShownAsTheFileHasThem)
{
    TempDir dir;
    // A line that runs over the first megabyte on the left but not on the right.
    const std::string longLine(1500 * 1024, 'x');
    dir.write("left", "a\r\n" + std::string(700 * 1024, 'p') + "\n" + longLine + "\nsame\nlast");
    dir.write("right", "a\n" + std::string(100, 'p') + "\n" + longLine + "\nsame\nlast\n");
    FileCompareJob job(dir / "left", dir / "right");
    JobScript script;
    EXPECT_EQ(script.run(std::move(job)).summary, "2 differences");
    const auto result = job.result();
    ASSERT_TRUE(result);
    // "\r\n" is not "\n", and a last line without its "\n" is not the same line with it.
    EXPECT_EQ(result->rows.row(0).kind, SideBySide::Row::Kind::changed);
    EXPECT_EQ(result->rows.row(2).kind, SideBySide::Row::Kind::same);
    EXPECT_EQ(result->rows.row(4).kind, SideBySide::Row::Kind::changed);
    EXPECT_EQ(result->left.text(0, 100), "a\r");
    EXPECT_EQ(result->right.text(4, 100), "last");
    EXPECT_EQ(result->left.text(4, 100), "last");
    EXPECT_EQ(result->left.text(2, 10), "xxxxxxxxxx");
    EXPECT_EQ(script.control.progress().bytesDone,
        std::int64_t(readFile(dir / "left").size() + readFile(dir / "right").size()));
}

TEST(FileCompareJobTest, RefusesWhatIsNotARegularFileWithoutWaitingOnIt)
{
    TempDir dir;
    dir.write("file", "x\n");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    // Opened for reading the usual way, a FIFO with no writer would block here for ever.
    FileCompareJob job(dir / "file", dir / "fifo");
    JobScript script;
    const JobOutcome outcome = script.run(std::move(job));
    EXPECT_EQ(outcome.end, JobOutcome::End::failed);
    EXPECT_NE(outcome.summary.find("Only regular files"), std::string::npos) << outcome.summary;
    EXPECT_FALSE(job.result());
}
