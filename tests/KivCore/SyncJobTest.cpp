#include "sync/SyncJob.h"

#include "JobScript.h"
#include "TempDir.h"
#include "history/OperationHistory.h"
#include "history/ReplayJob.h"
#include "sync/FolderComparison.h"

#include <gtest/gtest.h>

using namespace kiv;
using namespace kiv::test;
using Action = SyncItem::Action;

namespace {

class SyncJobTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir.write("L/same.txt", "same");
        dir.write("L/new-left.txt", "new left");
        dir.write("R/new-left.txt", "old right, longer");
        dir.write("L/left-only/inner.txt", "inner");
        dir.write("R/right-only.txt", "right only");
        dir.write("R/same.txt", "same");
        std::filesystem::last_write_time(
            dir / "R/new-left.txt", std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
        std::filesystem::last_write_time(
            dir / "R/same.txt", std::filesystem::last_write_time(dir / "L/same.txt"));
    }
    std::vector<SyncItem> compared() const
    {
        return FolderComparison::compare(dir / "L", dir / "R", FolderComparison::Mode::sizeAndTime, nullptr);
    }
    static void choose(std::vector<SyncItem>& items, const std::string& path, Action action)
    {
        for (SyncItem& item : items)
            if (item.path == path)
                item.action = action;
    }
    JobOutcome synchronized(std::vector<SyncItem> items, std::vector<JobAnswer> answers = {})
    {
        SyncJob job(dir / "L", dir / "R", std::move(items), trash);
        JobScript script(std::move(answers));
        const JobOutcome outcome = script.run(std::move(job));
        changedSince = job.changedSince();
        history.record(job.takeRecord());
        return outcome;
    }
    JobOutcome replayed(std::shared_ptr<ReplayJob> job)
    {
        JobScript script;
        const JobOutcome outcome = script.run(std::move(*job));
        history.finish(*job);
        return outcome;
    }

    TempDir dir;
    TempDir home;
    Trash trash { home / "Trash" };
    OperationHistory history { trash };
    std::vector<std::string> changedSince;
};

} // namespace

TEST_F(SyncJobTest, CopiesBothWaysDeletesOnlyWhenAskedAndUndoesAsOneStep)
{
    const Tree before = treeOf(dir.path());
    // As proposed: nothing is deleted, what one side alone has is copied to the other.
    auto items = compared();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(synchronized(items).end, JobOutcome::End::completed);
    const Tree alike = treeOf(dir.path());
    EXPECT_EQ(alike.at("R/new-left.txt"), "new left");
    EXPECT_EQ(alike.at("L/right-only.txt"), "right only");
    EXPECT_EQ(alike.at("R/left-only/inner.txt"), "inner");
    for (const auto& [path, content] : alike)
        EXPECT_EQ(path.find(".tavrin"), std::string::npos) << path;
    EXPECT_EQ(history.nextUndo()->description(), "synchronization of 4 items");
    // The replaced file comes back from the trash, the copies go.
    EXPECT_EQ(replayed(history.startUndo()).end, JobOutcome::End::completed);
    EXPECT_EQ(treeOf(dir.path()), before);
    EXPECT_EQ(replayed(history.startRedo()).end, JobOutcome::End::completed);
    EXPECT_EQ(treeOf(dir.path()), alike);
    EXPECT_EQ(replayed(history.startUndo()).end, JobOutcome::End::completed);

    // Deleted only where chosen, into the trash, and back on undo.
    items = compared();
    choose(items, "right-only.txt", Action::deleteRight);
    choose(items, "new-left.txt", Action::skip);
    EXPECT_EQ(synchronized(items).end, JobOutcome::End::completed);
    EXPECT_FALSE(std::filesystem::exists(dir / "R/right-only.txt"));
    EXPECT_EQ(readFile(dir / "R/new-left.txt"), "old right, longer");
    EXPECT_EQ(replayed(history.startUndo()).end, JobOutcome::End::completed);
    EXPECT_EQ(treeOf(dir.path()), before);
}

TEST_F(SyncJobTest, AnItemChangedSinceTheComparisonIsLeftAsItIs)
{
    auto items = compared();
    choose(items, "right-only.txt", Action::deleteRight);
    dir.write("R/new-left.txt", "edited meanwhile"); // the copy's target changed
    dir.write("R/left-only", "made meanwhile"); // a name the copy would take is now taken
    dir.write("R/right-only.txt", "edited too"); // what is to be deleted changed
    const JobOutcome outcome = synchronized(items);
    EXPECT_EQ(outcome.end, JobOutcome::End::incomplete);
    EXPECT_EQ(changedSince, (std::vector<std::string> { "left-only", "new-left.txt", "right-only.txt" }));
    EXPECT_NE(outcome.summary.find("3 items changed since the comparison"), std::string::npos)
        << outcome.summary;
    EXPECT_EQ(readFile(dir / "R/new-left.txt"), "edited meanwhile");
    EXPECT_EQ(readFile(dir / "R/left-only"), "made meanwhile");
    EXPECT_EQ(readFile(dir / "R/right-only.txt"), "edited too");
}

TEST_F(SyncJobTest, ACopyThatFailsLeavesTheOldItemWhole)
{
    if (!permissionBitsBind(dir))
        GTEST_SKIP() << "permission bits do not bind for this user";
    auto items = compared();
    ::chmod((dir / "L/new-left.txt").c_str(), 0);
    const JobOutcome outcome = synchronized(items, { JobAnswer::skip });
    EXPECT_EQ(outcome.end, JobOutcome::End::incomplete);
    ::chmod((dir / "L/new-left.txt").c_str(), 0644);
    EXPECT_EQ(readFile(dir / "R/new-left.txt"), "old right, longer");
    for (const auto& [path, content] : treeOf(dir / "R"))
        EXPECT_EQ(path.find(".tavrin"), std::string::npos) << path;
}
