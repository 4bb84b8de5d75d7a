#include "remote/SftpDoor.h"

#include "base/KivError.h"
#include "base/PathString.h"
#include "doors/ReadStream.h"
#include "doors/WriteStream.h"
#include "remote/RemoteError.h"
#include "remote/SftpConnectJob.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "FakeSftpServer.h"
#include "JobScript.h"
#include "RowNames.h"
#include "SshServer.h"
#include "Drained.h"

namespace kiv {

namespace {

using namespace test;

std::shared_ptr<const SftpDoor> openDoor(const SshServer& server, const std::string& path = {})
{
    test::JobScript script;
    return SftpDoor::open(server.place(path), script.control);
}

} // namespace

TEST(SftpDoorTest, ListsLooksAtAndReadsTheServersFolders)
{
    SshServer server;
    server.trustHostKey();
    TempDir remote;
    remote.folder("b-folder");
    remote.folder("A-folder");
    remote.write(".hidden", "h");
    remote.write("z.txt", "zz");
    std::string big(300'000, 'x');
    for (std::size_t index = 0; index < big.size(); index += 7)
        big[index] = char('a' + index % 26);
    remote.write("big.bin", big);
    std::filesystem::create_symlink("z.txt", remote / "link");

    const auto door = openDoor(server);
    EXPECT_EQ(door, openDoor(server)) << "one connection per server";
    EXPECT_TRUE(door->isSamePlace(*openDoor(server, "/tmp")));
    EXPECT_EQ(door->displayPath(remote.path()), "sftp://" + test::currentUserName() + "@127.0.0.1:"
            + std::to_string(server.port) + remote.path());

    const auto rows = door->list(remote.path(), Door::HiddenFiles::hide, Door::ListingOrder::byName, nullptr);
    EXPECT_EQ(namesOf(rows), (std::vector<std::string> { "..", "A-folder", "b-folder", "big.bin", "link", "z.txt" }));
    EXPECT_EQ(rows[0].id, PathString::parentOrRoot(remote.path()));
    EXPECT_EQ(rows[3].id, remote / "big.bin");
    EXPECT_EQ(door->list(remote.path(), Door::HiddenFiles::show, Door::ListingOrder::byName, nullptr).size(), 7u);
    EXPECT_TRUE(door->list("/", Door::HiddenFiles::hide, Door::ListingOrder::byName, nullptr).at(0).name != "..");
    EXPECT_THROW(door->list(remote / "z.txt", Door::HiddenFiles::hide, Door::ListingOrder::byName, nullptr), KivError);

    EXPECT_EQ(door->info(remote / "link", Door::Link::itself)->linkTarget, "z.txt");
    EXPECT_EQ(door->info(remote / "link", Door::Link::followed)->size, 2);
    EXPECT_FALSE(door->info(remote / "nothing", Door::Link::itself));
    const auto stream = door->read(remote / "big.bin");
    EXPECT_EQ(stream->size(), 300'000);
    EXPECT_EQ(drained(*stream, 5000), big);
    EXPECT_THROW(door->read(remote / "A-folder"), KivError);
    EXPECT_FALSE(door->localPath(remote / "z.txt")) << "nothing of a server is a local file";
}

TEST(SftpDoorTest, WritesGoThroughATemporaryNameAndReplaceOnlyWhenAsked)
{
    SshServer server;
    server.trustHostKey();
    TempDir remote;
    remote.write("kept.txt", "old");
    ::chmod((remote / "kept.txt").c_str(), 0640);
    std::filesystem::create_symlink("kept.txt", remote / "link");
    const auto door = openDoor(server);

    // Dropped before its commit: nothing is left, not even the temporary file.
    door->write(remote / "new.txt", std::nullopt, Door::Link::followed)->write("half");
    EXPECT_EQ(test::treeOf(remote.path()), (test::Tree { { "kept.txt", "old" }, { "link", "-> kept.txt" } }));

    auto refused = door->write(remote / "kept.txt", std::nullopt, Door::Link::followed);
    refused->write("new");
    EXPECT_THROW(refused->commit(WriteStream::Replace::never), KivError);
    refused.reset();
    EXPECT_EQ(test::treeOf(remote.path()), (test::Tree { { "kept.txt", "old" }, { "link", "-> kept.txt" } }));

    // Through the link: the link stays and the file behind it is replaced, its bits kept.
    auto replacing = door->write(remote / "link", std::nullopt, Door::Link::followed);
    replacing->write("new");
    replacing->commit(WriteStream::Replace::file);
    EXPECT_EQ(test::treeOf(remote.path()), (test::Tree { { "kept.txt", "new" }, { "link", "-> kept.txt" } }));
    EXPECT_EQ(modeOf(remote / "kept.txt"), 0640);

    door->makeFolder(remote / "sub");
    EXPECT_THROW(door->makeFolder(remote / "sub"), KivError);
    door->rename(remote / "kept.txt", remote / "sub/moved.txt");
    EXPECT_THROW(door->rename(remote / "sub/moved.txt", remote / "link"), KivError) << "a rename never replaces";
    ItemInfo like;
    like.permissions = 0604;
    like.modified = FileTime(std::chrono::seconds(1'000'000'000));
    door->keepAttributes(remote / "sub/moved.txt", like);
    EXPECT_EQ(modeOf(remote / "sub/moved.txt"), 0604);
    EXPECT_EQ(door->info(remote / "sub/moved.txt", Door::Link::itself)->modified, like.modified);
    EXPECT_TRUE(door->sharesFileSystem(remote / "sub", *door, remote.path()));
    door->remove(remote / "link");
    door->remove(remote / "sub/moved.txt");
    door->remove(remote / "sub");
    EXPECT_TRUE(std::filesystem::is_empty(remote.path()));
}

TEST(SftpDoorTest, ALostConnectionActsNowhereUntilReconnected)
{
    SshServer server;
    server.trustHostKey();
    TempDir remote;
    remote.write("a.txt", "a");
    test::JobScript script;
    const auto door = SftpDoor::open(server.place(), script.control, { std::chrono::seconds(5), std::chrono::milliseconds(800) });

    server.freeze();
    try {
        door->list(remote.path(), Door::HiddenFiles::hide, Door::ListingOrder::byName, nullptr);
        ADD_FAILURE() << "a frozen server listed a folder";
    } catch (const RemoteError& error) {
        EXPECT_EQ(error.errorCase(), RemoteError::Case::connectionLost);
    }
    server.resume();
    EXPECT_TRUE(door->isLost());
    EXPECT_THROW(door->info(remote / "a.txt", Door::Link::itself), RemoteError) << "lost stays lost";
    EXPECT_THROW(door->write(remote / "b.txt", std::nullopt, Door::Link::followed), RemoteError);
    EXPECT_THROW(door->remove(remote / "a.txt"), RemoteError);
    EXPECT_EQ(test::treeOf(remote.path()), (test::Tree { { "a.txt", "a" } }));

    door->reconnect(script.control);
    EXPECT_FALSE(door->isLost());
    EXPECT_EQ(namesOf(door->list(remote.path(), Door::HiddenFiles::hide, Door::ListingOrder::byName, nullptr)),
        (std::vector<std::string> { "..", "a.txt" }));
    EXPECT_EQ(SftpDoor::open(server.place(), script.control), door);
}

TEST(SftpDoorTest, AHostileServersNamesAreListedAsNothingOutsideTheFolder)
{
    test::FakeSftpServer server(test::FakeSftpServer::Login::password, "pw");
    server.folders["/"] = { { "in", test::FakeSftpServer::folder() } };
    server.folders["/in"] = {
        { ".", test::FakeSftpServer::folder() },
        { "..", test::FakeSftpServer::file("dots") },
        { "../up", test::FakeSftpServer::file("up") },
        { "/etc/passwd", test::FakeSftpServer::file("abs") },
        { std::string("nul\0byte", 8), test::FakeSftpServer::file("nul") },
        { "", test::FakeSftpServer::file("empty") },
        { "fine \xFF", test::FakeSftpServer::file("kept") },
    };
    test::JobScript script;
    script.control.setQuestionListener([&] { script.control.answerText("pw"); });
    const auto door = SftpDoor::open(server.place(), script.control);
    const auto rows = door->list("/in", Door::HiddenFiles::show, Door::ListingOrder::asListed, nullptr);
    EXPECT_EQ(namesOf(rows), (std::vector<std::string> { "..", "..\xE2\x88\x95up", "\xE2\x88\x95" "etc\xE2\x88\x95passwd",
                                  "nul\xE2\x90\x80" "byte", "fine \xFF" }));
    for (std::size_t index = 1; index < rows.size(); ++index)
        EXPECT_EQ(PathString::parentOrRoot(rows[index].id), "/in") << rows[index].id;
}

TEST(SftpDoorTest, ConnectingAsAJobAsksAboutTheKeyAndFindsTheFolderNamed)
{
    SshServer server;
    TempDir remote;
    remote.folder("sub");
    test::JobScript refusing({ JobAnswer::cancel });
    SftpConnectJob refused(server.place(remote / "sub/.."));
    EXPECT_NE(refusing.run(std::move(refused)).end, JobOutcome::End::completed);
    EXPECT_EQ(refused.door(), nullptr);

    test::JobScript trusting({ JobAnswer::trust });
    SftpConnectJob job(server.place(remote / "sub/.."));
    EXPECT_EQ(trusting.run(std::move(job)).end, JobOutcome::End::completed);
    ASSERT_NE(job.door(), nullptr);
    EXPECT_EQ(job.folder(), remote.path());
    EXPECT_EQ(trusting.asked.at(0).kind, JobQuestion::Kind::hostKey);
}

} // namespace kiv
