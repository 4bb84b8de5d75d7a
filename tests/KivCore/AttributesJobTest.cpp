#include "attributes/AttributesJob.h"

#include "JobScript.h"
#include "TempDir.h"
#include "history/OperationHistory.h"
#include "history/ReplayJob.h"

#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

using namespace kiv;
using namespace kiv::test;
using Reach = AttributeChange::Reach;

namespace {

class AttributesJobTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir.write("top/sub/deep", "deep");
        dir.write("top/file", "file");
        dir.write("outside", "outside");
        std::filesystem::create_symlink("../outside", dir / "top/link");
        for (const char* path : { "top", "top/sub" })
            ::chmod((dir / path).c_str(), 0755);
        for (const char* path : { "top/sub/deep", "top/file", "outside" })
            ::chmod((dir / path).c_str(), 0644);
    }
    // The permission bits of every item, links and what they point to left out.
    std::map<std::string, int> modes() const
    {
        std::map<std::string, int> found;
        for (const char* path : { "top", "top/sub", "top/sub/deep", "top/file", "outside" })
            found[path] = modeOf(dir / path);
        return found;
    }
    JobOutcome changed(AttributeChange change, std::vector<JobAnswer> answers = {})
    {
        AttributesJob job({ dir / "top" }, change);
        JobScript script(std::move(answers));
        const JobOutcome outcome = script.run(std::move(job));
        history.record(job.takeRecord());
        return outcome;
    }
    JobOutcome undo()
    {
        auto job = history.startUndo();
        if (!job)
            return { JobOutcome::End::failed, "nothing to undo" };
        JobScript script;
        const JobOutcome outcome = script.run(std::move(*job));
        history.finish(*job);
        return outcome;
    }

    TempDir dir;
    TempDir home;
    OperationHistory history { Trash(home / "Trash") };
};

} // namespace

TEST_F(AttributesJobTest, ReachesInsideFoldersDeepestFirstAndUndoesOutermostFirst)
{
    const auto before = modes();
    // Taking away the right to enter: had "top" lost it first, nothing inside could change.
    EXPECT_EQ(changed({ 0, 0555, {}, {}, {}, Reach::everything }).end, JobOutcome::End::completed);
    EXPECT_EQ(modes()["top"], 0200);
    ::chmod((dir / "top").c_str(), 0700); // to look inside
    ::chmod((dir / "top/sub").c_str(), 0700);
    EXPECT_EQ(modes(),
        (std::map<std::string, int> { { "top", 0700 }, { "top/sub", 0700 }, { "top/sub/deep", 0200 },
            { "top/file", 0200 }, { "outside", 0644 } }));
    ::chmod((dir / "top/sub").c_str(), 0200);
    ::chmod((dir / "top").c_str(), 0200);
    EXPECT_EQ(history.nextUndo()->description(), "attribute change of 4 items");
    // What lies inside is out of reach until "top" can be entered again: undone outermost first.
    const JobOutcome outcome = undo();
    EXPECT_EQ(outcome.end, JobOutcome::End::completed) << outcome.summary;
    EXPECT_EQ(modes(), before);
}

TEST_F(AttributesJobTest, ChangesOnlyTheKindOfItemAsked)
{
    EXPECT_EQ(changed({ 01002, 0, {}, {}, {}, Reach::foldersOnly }).end, JobOutcome::End::completed);
    EXPECT_EQ(changed({ 0, 0044, {}, {}, {}, Reach::filesOnly }).end, JobOutcome::End::completed);
    EXPECT_EQ(changed({ 04000, 0, {}, {}, {}, Reach::markedItems }).end, JobOutcome::End::completed);
    EXPECT_EQ(modes(),
        (std::map<std::string, int> { { "top", 05757 }, { "top/sub", 01757 }, { "top/sub/deep", 0600 },
            { "top/file", 0600 }, { "outside", 0644 } }));
}

TEST_F(AttributesJobTest, TimesAreSetToTheNanosecondAndUndoRestoresOnlyWhatChanged)
{
    struct stat old;
    ::lstat((dir / "top/file").c_str(), &old);
    const FileTime when { std::chrono::microseconds(1'000'000'123'456) };
    EXPECT_EQ(changed({ 0, 0, {}, {}, when, Reach::filesOnly }).end, JobOutcome::End::completed);
    const ItemAttributes now = ItemAttributes::of(dir / "top/file");
    EXPECT_EQ(std::pair(now.modifiedSeconds, now.modifiedNanoseconds),
        std::pair(std::int64_t(1'000'000), std::int64_t(123'456'000)));
    // The link's own time changes; what it points to is outside the change.
    EXPECT_EQ(ItemAttributes::of(dir / "top/link").modifiedSeconds, 1'000'000);
    EXPECT_NE(ItemAttributes::of(dir / "outside").modifiedSeconds, 1'000'000);
    EXPECT_EQ(undo().end, JobOutcome::End::completed);
    const ItemAttributes back = ItemAttributes::of(dir / "top/file");
    EXPECT_EQ(std::pair(back.modifiedSeconds, back.modifiedNanoseconds),
        std::pair(std::int64_t(old.st_mtim.tv_sec), std::int64_t(old.st_mtim.tv_nsec)));

    // A folder's time moves whenever its contents do: undoing its new bits leaves its time alone.
    EXPECT_EQ(changed({ 0, 0055, {}, {}, {}, Reach::foldersOnly }).end, JobOutcome::End::completed);
    dir.write("top/sub/new", "");
    const ItemAttributes moved = ItemAttributes::of(dir / "top/sub");
    EXPECT_EQ(undo().end, JobOutcome::End::completed);
    EXPECT_EQ(ItemAttributes::of(dir / "top/sub").modifiedNanoseconds, moved.modifiedNanoseconds);
    EXPECT_EQ(modes()["top/sub"], 0755);
}

TEST_F(AttributesJobTest, RefusalsAreAskedAndUndoRefusesWhenTheItemsChangedSince)
{
    EXPECT_EQ(changed({ 0, 0077, {}, {}, {}, Reach::everything }).end, JobOutcome::End::completed);
    ::chmod((dir / "top/file").c_str(), 0640);
    const auto before = modes();
    const JobOutcome refused = undo();
    EXPECT_EQ(refused.end, JobOutcome::End::failed);
    EXPECT_NE(refused.summary.find(dir / "top/file has changed since."), std::string::npos)
        << refused.summary;
    EXPECT_EQ(modes(), before);

    if (::geteuid() == 0)
        GTEST_SKIP() << "root may give files to any group";
    // A group this user is not in: the system refuses, the user skips, nothing is recorded.
    const JobOutcome skipped = changed({ 0, 0, {}, gid_t(0), {}, Reach::markedItems }, { JobAnswer::skip });
    EXPECT_EQ(skipped.end, JobOutcome::End::incomplete);
    EXPECT_NE(skipped.summary.find("Operation not permitted"), std::string::npos) << skipped.summary;
    EXPECT_EQ(history.nextUndo()->description(), "attribute change of 4 items");
}
