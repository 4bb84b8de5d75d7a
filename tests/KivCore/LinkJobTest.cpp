#include "attributes/LinkJob.h"

#include "JobScript.h"
#include "TempDir.h"
#include "history/OperationHistory.h"
#include "history/ReplayJob.h"

#include <gtest/gtest.h>

using namespace kiv;
using namespace kiv::test;

TEST(LinkJobTest, MakesALinkNeverInPlaceOfAnythingAndUndoesIt)
{
    TempDir dir;
    TempDir home;
    dir.write("a/target", "t");
    dir.write("b/taken", "mine");
    JobScript script;
    LinkJob taken(dir / "a/target", dir / "b/taken", LinkText::Form::relative);
    EXPECT_EQ(script.run(std::move(taken)).end, JobOutcome::End::failed);
    LinkJob gone(dir / "a/nothing", dir / "b/new", LinkText::Form::relative);
    EXPECT_EQ(script.run(std::move(gone)).end, JobOutcome::End::failed);
    EXPECT_EQ(readFile(dir / "b/taken"), "mine");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir / "b/new")));

    LinkJob job(dir / "a/target", dir / "b/link", LinkText::Form::relative);
    EXPECT_EQ(script.run(std::move(job)).end, JobOutcome::End::completed);
    EXPECT_EQ(std::filesystem::read_symlink(dir / "b/link"), "../a/target");
    OperationHistory history { Trash(home / "Trash") };
    history.record(job.takeRecord());
    EXPECT_EQ(history.nextUndo()->description(), "new link \"link\"");
    const auto replay = [&](std::shared_ptr<ReplayJob> replayJob) {
        const JobOutcome outcome = script.run(std::move(*replayJob));
        history.finish(*replayJob);
        return outcome;
    };
    EXPECT_EQ(replay(history.startUndo()).end, JobOutcome::End::completed);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir / "b/link")));
    EXPECT_EQ(replay(history.startRedo()).end, JobOutcome::End::completed);
    EXPECT_EQ(std::filesystem::read_symlink(dir / "b/link"), "../a/target");
    // A link made anew in its place since is not the one to take away.
    std::filesystem::remove(dir / "b/link");
    std::filesystem::create_symlink("elsewhere/and/longer", dir / "b/link");
    EXPECT_EQ(replay(history.startUndo()).end, JobOutcome::End::failed);
    EXPECT_EQ(std::filesystem::read_symlink(dir / "b/link"), "elsewhere/and/longer");
}
