#include "remote/SftpCopyJob.h"

#include "remote/SftpSession.h"

#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

#include "JobScript.h"
#include "SshServer.h"

namespace kiv {

using namespace test;

TEST(SftpCopyJobTest, AMoveRemovesEachSourceOnlyOnceItsCopyIsWholeBothWays)
{
    SshServer server;
    server.trustHostKey();
    TempDir remote;
    remote.write("dir/a", "a");
    remote.write("dir/sub/b", "b");
    remote.write("f", "f");
    remote.write("mixed/x", "x");
    remote.write("mixed/y", "server's y");
    remote.write("taken", "server's taken");
    TempDir local;
    local.write("mixed/y", "local y");
    local.write("taken", "local taken");
    JobScript connecting;
    const auto session = SftpSession::open(server.place(), connecting.control);

    // Skipping a taken name inside a folder keeps the whole folder on the server, as a skipped file does.
    JobScript downloading({ JobAnswer::skip, JobAnswer::skip });
    const JobOutcome outcome = downloading.run(SftpCopyJob(session, SftpCopyJob::Direction::download,
        { remote / "dir", remote / "mixed", remote / "f", remote / "taken" }, local.path(), SftpCopyJob::Mode::move));
    EXPECT_EQ(outcome, (JobOutcome { JobOutcome::End::incomplete,
                           "2 items stay where they were: not all of each was copied", true }));
    EXPECT_EQ(test::treeOf(remote.path()), (Tree { { "mixed", "/" }, { "mixed/x", "x" }, { "mixed/y", "server's y" },
                                               { "taken", "server's taken" } }));
    EXPECT_EQ(test::treeOf(local.path()),
        (Tree { { "dir", "/" }, { "dir/a", "a" }, { "dir/sub", "/" }, { "dir/sub/b", "b" }, { "f", "f" },
            { "mixed", "/" }, { "mixed/x", "x" }, { "mixed/y", "local y" }, { "taken", "local taken" } }));
    EXPECT_EQ(downloading.control.progress().itemsTotal, 2 * 9);

    TempDir uploads;
    const std::string into = uploads.folder("into");
    JobScript uploading;
    EXPECT_EQ(uploading.run(SftpCopyJob(session, SftpCopyJob::Direction::upload, { local / "dir", local / "f" }, into,
                  SftpCopyJob::Mode::move)),
        (JobOutcome { JobOutcome::End::completed, "Moved" }));
    EXPECT_EQ(test::treeOf(into),
        (Tree { { "dir", "/" }, { "dir/a", "a" }, { "dir/sub", "/" }, { "dir/sub/b", "b" }, { "f", "f" } }));
    EXPECT_FALSE(std::filesystem::exists(local / "dir"));
    EXPECT_FALSE(std::filesystem::exists(local / "f"));
}

TEST(SftpCopyJobTest, AMoveCancelledMidFileLeavesTheSourceWhole)
{
    SshServer server;
    server.trustHostKey();
    TempDir remote;
    const std::string big(16 * 1024 * 1024, 'b');
    remote.write("big", big);
    TempDir local;
    JobScript connecting;
    const auto session = SftpSession::open(server.place(), connecting.control);

    JobScript script;
    std::atomic<bool> done { false };
    std::thread canceller([&] {
        while (!done && script.control.progress().currentBytesDone < 1024 * 1024)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        script.control.cancel();
    });
    const JobOutcome outcome = script.run(SftpCopyJob(
        session, SftpCopyJob::Direction::download, { remote / "big" }, local.path(), SftpCopyJob::Mode::move));
    done = true;
    canceller.join();
    EXPECT_EQ(outcome.end, JobOutcome::End::cancelled);
    EXPECT_EQ(test::readFile(remote / "big"), big);
    EXPECT_TRUE(std::filesystem::is_empty(local.path()));
}

} // namespace kiv
