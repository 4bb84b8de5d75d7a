#include "files/FetchJob.h"

#include "files/TemporaryCopy.h"
#include "files/WriteBackJob.h"
#include "remote/SftpDoor.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "JobScript.h"
#include "SshServer.h"

namespace kiv {

namespace {

using namespace test;

// The copy folders of this process in the temporary folder.
int copyFolders()
{
    const std::string prefix = "kiv-mac-" + std::to_string(::getpid()) + "-";
    int count = 0;
    for (const auto& item : std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
        count += item.path().filename().string().starts_with(prefix);
    return count;
}

} // namespace

TEST(FetchJobTest, AServersFileArrivesWholeInAFolderOfItsOwnAndNothingIsLeftOfAFailureOrACancel)
{
    SshServer server;
    server.trustHostKey();
    TempDir remote;
    std::string big(12 * 1024 * 1024, 'x');
    for (std::size_t index = 0; index < big.size(); index += 4093)
        big[index] = char('a' + index % 26);
    remote.write("big.bin", big);
    remote.write("dir/inner", "i");
    std::filesystem::create_symlink("big.bin", remote / "link");
    JobScript connecting;
    const auto door = SftpDoor::open(server.place(), connecting.control);
    TemporaryCopy::removeUnused();

    // A link is read as the file it leads to, under its own name.
    FetchJob fetch(door, remote / "link");
    JobScript fetching;
    EXPECT_EQ(fetching.run(std::move(fetch)).end, JobOutcome::End::completed);
    EXPECT_EQ(std::filesystem::path(fetch.copy()).filename(), "link");
    EXPECT_EQ(test::readFile(fetch.copy()), big);
    EXPECT_EQ(fetching.control.progress().bytesDone, std::int64_t(big.size()));
    EXPECT_EQ(copyFolders(), 1);

    FetchJob folder(door, remote / "dir");
    JobScript failing;
    EXPECT_EQ(failing.run(std::move(folder)).end, JobOutcome::End::failed);
    EXPECT_EQ(folder.copy(), "");

    JobScript cancelling;
    FetchJob cancelled(door, remote / "big.bin");
    EXPECT_EQ(cancelling.runPastOneMebibyte(std::move(cancelled)).end, JobOutcome::End::cancelled);
    EXPECT_EQ(cancelled.copy(), "");
    EXPECT_EQ(copyFolders(), 1) << "a failed or cancelled fetch left its folder";
    TemporaryCopy::removeUnused();
}

TEST(FetchJobTest, AnEditedCopyGoesBackWholeWithItsModeOnlyOverWhatWasReadAndNeverHalfToAStoppedServer)
{
    SshServer server;
    server.trustHostKey();
    TempDir remote;
    const std::string file = remote.write("notes.txt", "one\n");
    ::chmod(file.c_str(), 0640);
    JobScript connecting;
    const auto door = SftpDoor::open(server.place(), connecting.control);
    FetchJob fetch(door, file);
    JobScript fetching;
    ASSERT_EQ(fetching.run(std::move(fetch)).end, JobOutcome::End::completed);
    const auto folderHolds = [&] { return treeOf(remote.path()); };

    // Several blocks, every byte value: the server's file is the editor's bytes, its mode kept.
    std::string edited;
    for (int index = 0; index < 200 * 1024; ++index)
        edited += char(index * 7 % 256);
    WriteBackJob save(door, file, edited, fetch.stamp());
    JobScript saving;
    EXPECT_EQ(saving.run(std::move(save)).end, JobOutcome::End::completed);
    EXPECT_EQ(folderHolds(), (Tree { { "notes.txt", edited } }));
    struct stat status
    {
    };
    ::stat(file.c_str(), &status);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_TRUE(saving.asked.empty());

    // Changed on the server since: written over only when the user answers so.
    remote.write("notes.txt", "theirs");
    WriteBackJob refused(door, file, "mine", save.written());
    JobScript declining({ JobAnswer::cancel });
    EXPECT_EQ(declining.run(std::move(refused)).end, JobOutcome::End::cancelled);
    ASSERT_EQ(declining.asked.size(), 1u);
    EXPECT_EQ(declining.asked[0].kind, JobQuestion::Kind::changed);
    EXPECT_EQ(declining.asked[0].source.size, std::int64_t(edited.size()));
    EXPECT_EQ(declining.asked[0].target.size, 6);
    EXPECT_EQ(folderHolds(), (Tree { { "notes.txt", "theirs" } }));
    WriteBackJob agreed(door, file, "mine", save.written());
    JobScript overwriting({ JobAnswer::overwrite });
    EXPECT_EQ(overwriting.run(std::move(agreed)).end, JobOutcome::End::completed);
    EXPECT_EQ(folderHolds(), (Tree { { "notes.txt", "mine" } }));

    // A server that stopped: the save fails with the reason, the file whole and nothing beside it.
    server.stop();
    WriteBackJob lost(door, file, "lost", agreed.written());
    JobScript failing;
    const JobOutcome outcome = failing.run(std::move(lost));
    EXPECT_EQ(outcome.end, JobOutcome::End::failed);
    EXPECT_TRUE(outcome.summary.starts_with("Could not save " + server.place(file).url() + ": "))
        << outcome.summary;
    EXPECT_EQ(folderHolds(), (Tree { { "notes.txt", "mine" } }));
    TemporaryCopy::removeUnused();
}

} // namespace kiv
