#include "rename/RenameSetJob.h"

#include "JobScript.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace kiv;
using namespace kiv::test;

namespace {

class RenameSetJobTest : public ::testing::Test
{
protected:
    // Renames the pairs of names in the work folder; questions are answered by `answers`.
    JobOutcome renamed(
        const std::vector<std::pair<std::string, std::string>>& names, std::vector<JobAnswer> answers = {})
    {
        std::vector<RenameSetJob::Rename> renames;
        for (const auto& [from, to] : names)
            renames.push_back({ dir / from, dir / to });
        RenameSetJob job(renames);
        JobScript script(std::move(answers));
        const JobOutcome outcome = script.run(std::move(job));
        report = job.report().items();
        return outcome;
    }

    TempDir dir;
    std::vector<TransferReport::Item> report;
};

} // namespace

TEST_F(RenameSetJobTest, RingsSwapsAndChainsLoseNothing)
{
    for (const char* name : { "a", "b", "c", "s", "t", "1", "2", "3" })
        dir.write(name, name);
    dir.folder("d");
    const auto outcome = renamed({ { "a", "b" }, { "b", "c" }, { "c", "a" }, { "s", "t" }, { "t", "s" },
        { "1", "2" }, { "2", "3" }, { "3", "4" }, { "d", "e" } });
    EXPECT_EQ(outcome.end, JobOutcome::End::completed) << outcome.summary;
    EXPECT_EQ(treeOf(dir.path()),
        (Tree { { "a", "c" }, { "b", "a" }, { "c", "b" }, { "s", "t" }, { "t", "s" }, { "2", "1" },
            { "3", "2" }, { "4", "3" }, { "e", "/" } }));
    // What undo needs: each item from its old to its new name, never a temporary one.
    EXPECT_EQ(report.size(), 9u);
    for (const auto& item : report)
        EXPECT_EQ(item.to.find(".tavrin"), std::string::npos) << item.to;
}

TEST_F(RenameSetJobTest, NeverReplacesAndPutsAGroupBackWhenItCannotFinish)
{
    dir.write("a", "a");
    dir.write("taken", "taken");
    // "a" to a name that something outside the set holds: skipped, nothing replaced.
    auto outcome = renamed({ { "a", "taken" } }, { JobAnswer::skip });
    EXPECT_EQ(outcome.end, JobOutcome::End::incomplete);
    EXPECT_EQ(treeOf(dir.path()), (Tree { { "a", "a" }, { "taken", "taken" } }));
    // A chain (gone to a, a to b) whose second step fails: the first is undone.
    outcome = renamed({ { "gone", "a" }, { "a", "b" } }, { JobAnswer::skip });
    EXPECT_EQ(outcome.end, JobOutcome::End::incomplete);
    EXPECT_EQ(treeOf(dir.path()), (Tree { { "a", "a" }, { "taken", "taken" } }));
    // A ring (a to taken, taken to gone, gone to a) that fails after "a" stepped aside: it comes back.
    outcome = renamed({ { "a", "taken" }, { "taken", "gone" }, { "gone", "a" } }, { JobAnswer::skip });
    EXPECT_EQ(outcome.end, JobOutcome::End::incomplete);
    EXPECT_EQ(treeOf(dir.path()), (Tree { { "a", "a" }, { "taken", "taken" } }));
    EXPECT_TRUE(report.empty());
}

TEST_F(RenameSetJobTest, ACancelStopsBetweenGroupsAndKeepsWhatIsDone)
{
    for (const char* name : { "a", "b", "c", "e", "f" })
        dir.write(name, name);
    // The chains go first: c to d is done, e to f asks and is cancelled, the ring never starts.
    const auto outcome
        = renamed({ { "a", "b" }, { "b", "a" }, { "c", "d" }, { "e", "f" } }, { JobAnswer::cancel });
    EXPECT_EQ(outcome.end, JobOutcome::End::cancelled);
    EXPECT_EQ(
        treeOf(dir.path()), (Tree { { "a", "a" }, { "b", "b" }, { "d", "c" }, { "e", "e" }, { "f", "f" } }));
    EXPECT_EQ(report, (std::vector<TransferReport::Item> { { dir / "c", dir / "d" } }));
}
