#include "remote/SftpRenameJob.h"

#include "remote/SftpDoor.h"

#include <gtest/gtest.h>

#include "JobScript.h"
#include "SshServer.h"

namespace kiv {

using namespace test;

TEST(SftpRenameJobTest, RenamesToANameOrIntoAFolderAndNeverReplaces)
{
    SshServer server;
    server.trustHostKey();
    TempDir remote;
    remote.write("a", "a");
    remote.write("b", "b");
    remote.write("c", "c");
    remote.write("to/c", "c there");
    JobScript connecting;
    const auto door = SftpDoor::open(server.place(), connecting.control);

    JobScript renaming;
    EXPECT_EQ(renaming.run(SftpRenameJob(door, { remote / "a" }, remote / "a2")).end, JobOutcome::End::completed);
    // Into a folder under their own names; a name taken there is asked about and left as it is.
    JobScript moving({ JobAnswer::skip });
    const JobOutcome outcome = moving.run(SftpRenameJob(door, { remote / "a2", remote / "b", remote / "c" }, remote / "to"));
    EXPECT_EQ(outcome.end, JobOutcome::End::incomplete);
    ASSERT_EQ(moving.asked.size(), 1u);
    EXPECT_NE(moving.asked[0].message.find(remote / "to/c"), std::string::npos) << moving.asked[0].message;
    // Several items never go to one name.
    JobScript refused;
    EXPECT_EQ(refused.run(SftpRenameJob(door, { remote / "c", remote / "to/b" }, remote / "new")).end,
        JobOutcome::End::failed);
    EXPECT_EQ(test::treeOf(remote.path()),
        (Tree { { "c", "c" }, { "to", "/" }, { "to/a2", "a" }, { "to/b", "b" }, { "to/c", "c there" } }));
}

} // namespace kiv
