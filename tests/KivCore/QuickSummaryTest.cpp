#include "quickview/QuickSummary.h"

#include "TempDir.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kiv;
using namespace kiv::test;
using SummaryKind = QuickSummary::Kind;

TEST(QuickSummaryTest, FifosAndDevicesAreNeverOpenedAndHugeFilesReadOnlyAsFarAsShown)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink("fifo", dir / "to-fifo");
    // Opened for reading, a FIFO without a writer would hold the summary for ever.
    for (const char* name : { "fifo", "to-fifo" }) {
        const QuickSummary fifo = QuickSummary::of(dir / name, nullptr);
        EXPECT_EQ(fifo.kind, SummaryKind::special) << name;
        EXPECT_EQ(fifo.format, "FIFO");
    }
    EXPECT_EQ(QuickSummary::of("/dev/zero", nullptr).format, "character device");

    const std::int64_t fourGigabytes = std::int64_t(4) << 30;
    std::filesystem::resize_file(dir.write("sparse.bin"), std::uintmax_t(fourGigabytes));
    const QuickSummary sparse = QuickSummary::of(dir / "sparse.bin", nullptr);
    EXPECT_EQ(sparse.kind, SummaryKind::hexDump);
    EXPECT_EQ(sparse.size, fourGigabytes);
    EXPECT_EQ(sparse.bytesRead, QuickSummary::screenBytes);
    EXPECT_EQ(std::count(sparse.content.begin(), sparse.content.end(), '\n'), 255);
}

TEST(QuickSummaryTest, TextShowsItsFirstScreenCutOnlyBetweenCharacters)
{
    TempDir dir;
    // "é" is two bytes: the 16 KB cut falls inside the last one.
    std::string text(QuickSummary::screenBytes - 1, 'a');
    text += "\xC3\xA9 and much more after the first screen";
    dir.write("text.txt", text);
    const QuickSummary summary = QuickSummary::of(dir / "text.txt", nullptr);
    EXPECT_EQ(summary.kind, SummaryKind::text);
    EXPECT_TRUE(summary.content == std::string(QuickSummary::screenBytes - 1, 'a')) << summary.content.size();
    EXPECT_EQ(summary.size, std::int64_t(text.size()));
    std::filesystem::create_symlink("text.txt", dir / "link");
    EXPECT_EQ(QuickSummary::of(dir / "link", nullptr).linkTarget, "text.txt");
    std::filesystem::create_symlink("gone", dir / "dangling");
    const QuickSummary dangling = QuickSummary::of(dir / "dangling", nullptr);
    EXPECT_EQ(dangling.kind, SummaryKind::unreadable);
    EXPECT_EQ(dangling.linkTarget, "gone");
    EXPECT_NE(dangling.problem.find("No such file"), std::string::npos) << dangling.problem;
}

TEST(QuickSummaryTest, FoldersAndArchivesAreCountedAndACancelStopsThem)
{
    TempDir dir;
    dir.write("box/a.txt", "12345");
    dir.write("box/sub/b.txt", "678");
    const QuickSummary folder = QuickSummary::of(dir / "box", nullptr);
    EXPECT_EQ(folder.kind, SummaryKind::folder);
    EXPECT_EQ(std::tuple(folder.files, folder.folders, folder.size), std::tuple(2, 1, 8));
    dir.run("tar czf box.tar.gz box");
    const QuickSummary archive = QuickSummary::of(dir / "box.tar.gz", nullptr);
    EXPECT_EQ(archive.kind, SummaryKind::archive);
    EXPECT_EQ(std::tuple(archive.files, archive.folders, archive.size), std::tuple(2, 2, 8));
    EXPECT_NE(archive.format.find("tar"), std::string::npos) << archive.format;
    EXPECT_NE(archive.format.find("gzip"), std::string::npos) << archive.format;
    dir.write("fake.zip", "not a zip at all");
    EXPECT_EQ(QuickSummary::of(dir / "fake.zip", nullptr).kind, SummaryKind::unreadable);
    JobControl control;
    control.cancel();
    EXPECT_THROW(QuickSummary::of(dir / "box", &control), JobCancelled);
    EXPECT_THROW(QuickSummary::of(dir / "box.tar.gz", &control), JobCancelled);
}
