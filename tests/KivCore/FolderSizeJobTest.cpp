#include "files/FolderSizeJob.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"

#include "TempDir.h"

#include <map>

using namespace kiv;
using namespace kiv::test;

TEST(FolderSizeJob, CountsHardLinksOnceFollowsNoLinkAndGoesOnPastUnreadableFolders)
{
    TempDir dir;
    TempDir outside;
    dir.write("tree/a.txt", std::string(100, 'a'));
    const std::string shared = dir.write("tree/sub/b.bin", std::string(1000, 'b'));
    ASSERT_EQ(::link(shared.c_str(), (dir / "tree/sub/b-again").c_str()), 0);
    outside.write("big", std::string(5000, 'c'));
    std::filesystem::create_directory_symlink(outside.path(), dir / "tree/elsewhere");
    std::filesystem::create_directory_symlink("..", dir / "tree/sub/loop");
    dir.write("tree/locked/hidden", std::string(7, 'd'));
    const bool bind = permissionBitsBind(dir);
    ::chmod((dir / "tree/locked").c_str(), 0);

    const FolderSizeJob::Size size = FolderSizeJob::measure(dir / "tree", nullptr);

    EXPECT_EQ(size.bytes, bind ? 1100 : 1107);
    EXPECT_EQ(size.folders, 2);
    EXPECT_EQ(size.unreadable, bind ? 1 : 0);
    EXPECT_EQ(size.lastRefusal, bind ? "Permission denied: " + (dir / "tree/locked") : "");
}

TEST(FolderSizeJob, ReportsEachFolderMeasuredAndNoneOnceCancelled)
{
    TempDir dir;
    dir.write("one/f", "12345");
    dir.write("two/deeper/g", "123");
    std::map<std::string, std::int64_t> measured;
    FolderSizeJob job({ dir / "one", dir / "two" },
        [&](const std::string& path, const FolderSizeJob::Size& size) { measured[path] = size.bytes; });

    JobControl control;
    const JobOutcome outcome = JobThread::runHere(job, control);
    EXPECT_EQ(outcome, (JobOutcome { JobOutcome::End::completed, "Measured 2 folders: 8 bytes" }));
    EXPECT_EQ(measured, (std::map<std::string, std::int64_t> { { dir / "one", 5 }, { dir / "two", 3 } }));

    measured.clear();
    JobControl cancelled;
    cancelled.cancel();
    EXPECT_EQ(JobThread::runHere(job, cancelled).end, JobOutcome::End::cancelled);
    EXPECT_TRUE(measured.empty());
}
