#include "files/FetchJob.h"

#include "files/TemporaryCopy.h"
#include "remote/SftpDoor.h"

#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

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
    std::atomic<bool> done { false };
    std::thread canceller([&] {
        while (!done && cancelling.control.progress().currentBytesDone < 1024 * 1024)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        cancelling.control.cancel();
    });
    FetchJob cancelled(door, remote / "big.bin");
    EXPECT_EQ(cancelling.run(std::move(cancelled)).end, JobOutcome::End::cancelled);
    done = true;
    canceller.join();
    EXPECT_EQ(cancelled.copy(), "");
    EXPECT_EQ(copyFolders(), 1) << "a failed or cancelled fetch left its folder";
    TemporaryCopy::removeUnused();
}

} // namespace kiv
