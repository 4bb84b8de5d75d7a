#include "remote/SftpDeleteJob.h"

#include "remote/SftpDoor.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "JobScript.h"
#include "SshServer.h"

namespace kiv {

using namespace test;

TEST(SftpDeleteJobTest, RemovesWholeTreesAsksAboutWhatFailsAndStopsWhenCancelled)
{
    SshServer server;
    server.trustHostKey();
    TempDir remote;
    remote.write("tree/x/y/z", "z");
    remote.write("tree/a", "a");
    remote.write("file", "f");
    remote.write("kept/inside", "i");
    std::filesystem::create_symlink(remote / "kept", remote / "link");
    std::filesystem::create_symlink(remote / "kept", remote / "tree/x/link");
    JobScript connecting;
    const auto door = SftpDoor::open(server.place(), connecting.control);

    // Cancelled at the first question: nothing after it is touched.
    JobScript cancelling({ JobAnswer::cancel });
    EXPECT_EQ(cancelling.run(SftpDeleteJob(door, { remote / "missing", remote / "tree" })).end,
        JobOutcome::End::cancelled);
    EXPECT_TRUE(std::filesystem::exists(remote / "tree/x/y/z"));

    // A link is removed as itself, never what it leads to; a failed item is skipped and named.
    JobScript skipping({ JobAnswer::skip });
    const JobOutcome outcome = skipping.run(SftpDeleteJob(
        door, { remote / "tree", remote / "missing", remote / "file", (remote / "link") + "/" }));
    EXPECT_EQ(outcome.end, JobOutcome::End::incomplete);
    EXPECT_NE(outcome.summary.find("Deleted 8 items; 1 skipped"), std::string::npos) << outcome.summary;
    ASSERT_EQ(skipping.asked.size(), 1u);
    EXPECT_NE(skipping.asked[0].message.find(remote / "missing"), std::string::npos) << skipping.asked[0].message;
    EXPECT_EQ(test::treeOf(remote.path()), (Tree { { "kept", "/" }, { "kept/inside", "i" } }));
}

TEST(SftpDeleteJobTest, ALostConnectionFailsTheItemWithTheReasonAndRemovesNothingMore)
{
    SshServer server;
    server.trustHostKey();
    TempDir remote;
    remote.write("a", "a");
    remote.write("b", "b");
    JobScript connecting;
    const auto door = SftpDoor::open(
        server.place(), connecting.control, { std::chrono::seconds(5), std::chrono::milliseconds(800) });

    server.freeze();
    JobScript script({ JobAnswer::skip, JobAnswer::skip });
    const JobOutcome outcome = script.run(SftpDeleteJob(door, { remote / "a", remote / "b" }));
    server.resume();
    EXPECT_EQ(outcome.end, JobOutcome::End::incomplete);
    ASSERT_EQ(script.asked.size(), 2u);
    EXPECT_NE(script.asked[0].message.find("Connection lost to sftp://"), std::string::npos)
        << script.asked[0].message;
    EXPECT_EQ(test::treeOf(remote.path()), (Tree { { "a", "a" }, { "b", "b" } }));
}

} // namespace kiv
