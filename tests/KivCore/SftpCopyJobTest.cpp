#include "remote/SftpCopyJob.h"

#include "archives/ArchiveDoor.h"
#include "files/FileSystemService.h"
#include "remote/SftpSession.h"

#include <filesystem>
#include <gtest/gtest.h>

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
    EXPECT_EQ(script
                  .runPastOneMebibyte(SftpCopyJob(session, SftpCopyJob::Direction::download,
                      { remote / "big" }, local.path(), SftpCopyJob::Mode::move))
                  .end,
        JobOutcome::End::cancelled);
    EXPECT_EQ(test::readFile(remote / "big"), big);
    EXPECT_TRUE(std::filesystem::is_empty(local.path()));
}

TEST(SftpCopyJobTest, ItemsOfAnArchiveGoOntoAServerWholeOrNotAtAll)
{
    SshServer server;
    server.trustHostKey();
    TempDir local;
    local.write("pack/docs/a.txt", "alpha");
    local.write("pack/docs/sub/b.txt", "beta");
    std::string big(16 * 1024 * 1024, '\0'); // data that does not shrink, so that reading it takes a while
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>((i * 2654435761u) >> 13);
    local.write("pack/big", big);
    local.run("cd pack && zip -qr ../p.zip .");
    const auto archive = std::make_shared<ArchiveDoor>(FileSystemService::shared(), local / "p.zip");
    TempDir remote;
    remote.write("a.txt", "server's a");
    JobScript connecting;
    const auto session = SftpSession::open(server.place(), connecting.control);

    // A folder member named as the panel names it, without its "/", comes with all it holds.
    JobScript copying({ JobAnswer::skip });
    EXPECT_EQ(copying.run(SftpCopyJob(session, SftpCopyJob::Direction::upload, { "docs/sub", "docs/a.txt" },
                  remote.path(), SftpCopyJob::Mode::copy, archive)),
        (JobOutcome { JobOutcome::End::completed, "Copied" }));
    EXPECT_EQ(test::treeOf(remote.path()),
        (Tree { { "a.txt", "server's a" }, { "sub", "/" }, { "sub/b.txt", "beta" } }));
    ASSERT_EQ(copying.asked.size(), 1u);
    EXPECT_EQ(copying.asked[0].source.path, local / "p.zip" + " :: /docs/a.txt");
    EXPECT_EQ(copying.asked[0].source.size, 5);
    EXPECT_TRUE(copying.asked[0].source.modified);
    EXPECT_EQ(copying.asked[0].target.size, 10);
    EXPECT_EQ(copying.asked[0].target.path, server.place(remote / "a.txt").url());

    JobScript cancelling;
    EXPECT_EQ(cancelling
                  .runPastOneMebibyte(SftpCopyJob(session, SftpCopyJob::Direction::upload, { "big" },
                      remote.path(), SftpCopyJob::Mode::copy, archive))
                  .end,
        JobOutcome::End::cancelled);
    EXPECT_EQ(test::treeOf(remote.path()).size(), 3u) << "no part of the file, under any name";

    // Nothing is ever removed from an archive, so nothing moves out of one.
    JobScript moving;
    EXPECT_EQ(moving
                  .run(SftpCopyJob(session, SftpCopyJob::Direction::upload, { "docs/a.txt" }, remote / "sub",
                      SftpCopyJob::Mode::move, archive))
                  .end,
        JobOutcome::End::failed);
    EXPECT_EQ(test::treeOf(remote.path()).size(), 3u);
}

} // namespace kiv
