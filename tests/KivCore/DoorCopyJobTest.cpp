#include "files/DoorCopyJob.h"

#include "archives/ArchiveDoor.h"
#include "base/KivError.h"
#include "files/FileSystemService.h"
#include "remote/SftpDoor.h"
#include "remote/SftpTreeRemoval.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "FakeSftpServer.h"
#include "JobScript.h"
#include "SshServer.h"

namespace kiv {

using namespace test;

TEST(DoorCopyJobTest, AMoveRemovesEachSourceOnlyOnceItsCopyIsWholeBothWays)
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
    const auto there = SftpDoor::open(server.place(), connecting.control);
    const auto disk = FileSystemService::shared();

    // Skipping a taken name inside a folder keeps the whole folder on the server, as a skipped file does.
    JobScript downloading({ JobAnswer::skip, JobAnswer::skip });
    const JobOutcome outcome = downloading.run(DoorCopyJob(there, { remote / "dir", remote / "mixed", remote / "f", remote / "taken" }, disk, local.path(), DoorCopyJob::Mode::move));
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
    EXPECT_EQ(uploading.run(DoorCopyJob(disk, { local / "dir", local / "f" }, there, into, DoorCopyJob::Mode::move)),
        (JobOutcome { JobOutcome::End::completed, "Moved" }));
    EXPECT_EQ(test::treeOf(into),
        (Tree { { "dir", "/" }, { "dir/a", "a" }, { "dir/sub", "/" }, { "dir/sub/b", "b" }, { "f", "f" } }));
    EXPECT_FALSE(std::filesystem::exists(local / "dir"));
    EXPECT_FALSE(std::filesystem::exists(local / "f"));
}

TEST(DoorCopyJobTest, ACopyCancelledMidFileOrWhileTheServerIsSilentOrIntoItselfLeavesTheSourceWhole)
{
    SshServer server;
    server.trustHostKey();
    TempDir remote;
    const std::string big(16 * 1024 * 1024, 'b');
    remote.write("big", big);
    TempDir local;
    JobScript connecting;
    const auto there = SftpDoor::open(server.place(), connecting.control);
    const auto disk = FileSystemService::shared();

    JobScript script;
    EXPECT_EQ(script
                  .runPastOneMebibyte(DoorCopyJob(there, { remote / "big" }, disk, local.path(), DoorCopyJob::Mode::move))
                  .end,
        JobOutcome::End::cancelled);
    EXPECT_EQ(test::readFile(remote / "big"), big);
    EXPECT_TRUE(std::filesystem::is_empty(local.path()));

    // A folder the copy made has its own bits, not the owner-only ones it is filled with, also when
    // the copy is cancelled inside it.
    remote.write("tree/big", big);
    ::chmod((remote / "tree").c_str(), 0750);
    JobScript inside;
    EXPECT_EQ(inside.runPastOneMebibyte(DoorCopyJob(there, { remote / "tree" }, disk, local.path())).end,
        JobOutcome::End::cancelled);
    EXPECT_EQ(modeOf(local / "tree"), 0750);
    EXPECT_TRUE(std::filesystem::is_empty(local / "tree"));

    // Within one server, a folder never goes into itself.
    remote.write("dir/inner/x", "x");
    JobScript looping;
    EXPECT_EQ(looping.run(DoorCopyJob(there, { remote / "dir" }, there, remote / "dir/inner")),
        (JobOutcome { JobOutcome::End::failed,
            "Cannot copy the folder " + server.place(remote / "dir").url() + " into itself or into one of its own subfolders." }));
    EXPECT_EQ(test::treeOf(remote / "dir"), (Tree { { "inner", "/" }, { "inner/x", "x" } }));

    // Cancelled while the server is silent before anything moved, it stops at once too, not when
    // the silence counts as a lost connection.
    server.freeze();
    JobScript waiting;
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        waiting.control.cancel();
    });
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(waiting.run(DoorCopyJob(there, { remote / "big" }, disk, local.path(), DoorCopyJob::Mode::move)).end,
        JobOutcome::End::cancelled);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    canceller.join();
    server.resume();
    EXPECT_EQ(test::readFile(remote / "big"), big);
}

TEST(DoorCopyJobTest, ItemsOfAnArchiveGoOntoAServerWholeOrNotAtAll)
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
    const auto there = SftpDoor::open(server.place(), connecting.control);
    const auto disk = FileSystemService::shared();

    // A folder member named as the panel names it, without its "/", comes with all it holds.
    JobScript copying({ JobAnswer::skip });
    EXPECT_EQ(copying.run(DoorCopyJob(archive, { "docs/sub", "docs/a.txt" }, there, remote.path(), DoorCopyJob::Mode::copy)),
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
                  .runPastOneMebibyte(DoorCopyJob(archive, { "big" }, there, remote.path(), DoorCopyJob::Mode::copy))
                  .end,
        JobOutcome::End::cancelled);
    EXPECT_EQ(test::treeOf(remote.path()).size(), 3u) << "no part of the file, under any name";

    // Nothing is ever removed from an archive, so nothing moves out of one.
    JobScript moving;
    EXPECT_EQ(moving
                  .run(DoorCopyJob(archive, { "docs/a.txt" }, there, remote / "sub", DoorCopyJob::Mode::move))
                  .end,
        JobOutcome::End::failed);
    EXPECT_EQ(test::treeOf(remote.path()).size(), 3u);
}

TEST(DoorCopyJobTest, NamesFromAHostileServerNeverWriteOutsideTheTarget)
{
    FakeSftpServer server(FakeSftpServer::Login::password, "pw");
    TempDir outside;
    server.folders["/"] = { { "hostile", FakeSftpServer::folder() } };
    server.folders["/hostile"] = {
        { ".", FakeSftpServer::folder() },
        { "..", FakeSftpServer::file("dots") },
        { "../escaped", FakeSftpServer::file("up") },
        { outside / "absolute", FakeSftpServer::file("abs") },
        { "a/b", FakeSftpServer::file("slash") },
        { std::string("nul\0byte", 8), FakeSftpServer::file("nul") },
        { "", FakeSftpServer::file("empty") },
        { "fine \xFF\nname", FakeSftpServer::file("kept") },
        // A link to a folder outside, then a folder of the same name with a file in it.
        { "door", FakeSftpServer::link(outside.path()) },
        { "door", FakeSftpServer::folder() },
    };
    server.folders["/hostile/door"] = { { "planted", FakeSftpServer::file("planted") } };

    TempDir target;
    JobScript script;
    script.control.setQuestionListener([&] {
        const JobQuestion question = *script.control.pendingQuestion();
        script.asked.push_back(question);
        if (question.kind == JobQuestion::Kind::secret)
            script.control.answerText("pw");
        else
            script.control.answer(JobAnswer::skip);
    });
    const auto there = SftpDoor::open(server.place(), script.control);
    const auto outcome = script.run(DoorCopyJob(there, { "/hostile" }, FileSystemService::shared(), target.path()));
    EXPECT_EQ(outcome.end, JobOutcome::End::incomplete) << outcome.summary;

    EXPECT_EQ(test::treeOf(target.path()),
        (test::Tree { { "hostile", "/" }, { "hostile/fine \xFF\nname", "kept" }, { "hostile/door", "-> " + outside.path() } }));
    EXPECT_TRUE(test::treeOf(outside.path()).empty());
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(target.path()).parent_path() / "escaped"));
    std::vector<std::string> refused;
    for (const JobQuestion& question : script.asked)
        if (question.kind == JobQuestion::Kind::itemError)
            refused.push_back(question.message);
    // The names holding a "/" or a zero byte are listed with look-alikes, which name nothing there;
    // an empty name is not listed at all.
    ASSERT_EQ(refused.size(), 5u) << ::testing::PrintToString(refused);
    for (int look = 0; look < 4; ++look)
        EXPECT_EQ(refused[look].rfind("No such file or directory: sftp://", 0), 0u) << refused[look];
    EXPECT_NE(refused[4].find("door"), std::string::npos) << refused[4];

    // Removing there refuses a listing with such names rather than guess what they stand for.
    EXPECT_THROW(SftpTreeRemoval::remove(*there->session(), "/hostile", script.control), KivError);
}

} // namespace kiv
