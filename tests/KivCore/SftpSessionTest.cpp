#include "remote/SftpSession.h"

#include "jobs/JobCancelled.h"
#include "jobs/JobThread.h"
#include "remote/RemoteError.h"
#include "files/FileSystemService.h"
#include "files/DoorCopyJob.h"
#include "remote/SftpDoor.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

#include "JobScript.h"
#include "SshServer.h"

namespace kiv {

namespace {

using namespace test;

std::string randomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(generator());
    return bytes;
}

// Connects to the server, which is already trusted; a question would fail the test.
std::shared_ptr<SftpSession> connectTo(const SshServer& server, JobScript& script,
    SshConnection::Timing timing = {})
{
    return SftpSession::open(server.place(), script.control, timing);
}

// The door to the server's folders, for the copy jobs.
std::shared_ptr<const SftpDoor> doorTo(const SshServer& server, JobScript& script, SshConnection::Timing timing = {})
{
    return SftpDoor::open(server.place(), script.control, timing);
}

} // namespace

TEST(SftpSessionTest, AnUnknownHostKeyIsAskedWithItsFingerprintAndKeptOnlyWhenTrusted)
{
    SshServer server;
    JobScript cancelling({ JobAnswer::cancel });
    try {
        connectTo(server, cancelling);
        ADD_FAILURE() << "connected to an untrusted server";
    } catch (const RemoteError& error) {
        EXPECT_EQ(error.errorCase(), RemoteError::Case::hostKeyUnknown);
    }
    ASSERT_EQ(cancelling.asked.size(), 1u);
    const JobQuestion question = cancelling.asked.front();
    EXPECT_EQ(question.kind, JobQuestion::Kind::hostKey);
    EXPECT_EQ(question.source.path, "[127.0.0.1]:" + std::to_string(server.port));
    EXPECT_EQ(question.message, "ED25519 key fingerprint is " + server.hostKeyFingerprint() + ".");
    EXPECT_FALSE(std::filesystem::exists(server.knownHosts()));

    // Nobody listening trusts nothing either.
    JobControl unheard;
    EXPECT_THROW(SftpSession::open(server.place(), unheard), RemoteError);

    JobScript trusting({ JobAnswer::trust });
    EXPECT_EQ(connectTo(server, trusting)->realPath("", nullptr).front(), '/');
    const std::string saved = test::readFile(server.knownHosts());
    EXPECT_EQ(saved.rfind("[127.0.0.1]:" + std::to_string(server.port) + " ssh-ed25519 ", 0), 0u) << saved;

    // Known now, also once OpenSSH has hashed the file's names.
    JobScript silent;
    connectTo(server, silent);
    ASSERT_EQ(std::system(("ssh-keygen -q -H -f '" + server.knownHosts() + "' >/dev/null 2>&1").c_str()), 0);
    EXPECT_EQ(test::readFile(server.knownHosts()).rfind("|1|", 0), 0u);
    connectTo(server, silent);
    EXPECT_TRUE(silent.asked.empty());
}

TEST(SftpSessionTest, AChangedHostKeyIsRefusedBeforeAnythingIsSent)
{
    SshServer server;
    const std::string otherKey = server.scratch / "other";
    ASSERT_EQ(std::system(("ssh-keygen -q -t ed25519 -N '' -f '" + otherKey + "'").c_str()), 0);
    std::ofstream(server.knownHosts()) << "[127.0.0.1]:" << server.port << " " << test::readFile(otherKey + ".pub");
    const std::string before = test::readFile(server.knownHosts());

    // Another type of key than the known one is refused the same way.
    for (const char* type : { "ed25519", "ecdsa" }) {
        if (std::string(type) == "ecdsa") {
            ASSERT_EQ(std::system(("ssh-keygen -q -t ecdsa -N '' -f '" + otherKey + "-ecdsa'").c_str()), 0);
            std::ofstream(server.knownHosts()) << "[127.0.0.1]:" << server.port << " "
                                               << test::readFile(otherKey + "-ecdsa.pub");
        }
        JobScript script;
        try {
            connectTo(server, script);
            ADD_FAILURE() << "connected despite a changed key";
        } catch (const RemoteError& error) {
            EXPECT_EQ(error.errorCase(), RemoteError::Case::hostKeyChanged) << type;
            EXPECT_NE(std::string(error.what()).find("WARNING: the host key of [127.0.0.1]:"), std::string::npos);
            EXPECT_NE(std::string(error.what()).find(server.hostKeyFingerprint()), std::string::npos);
        }
        EXPECT_TRUE(script.asked.empty()) << type;
    }
    std::ofstream(server.knownHosts()) << before;
    EXPECT_EQ(test::readFile(server.knownHosts()), before);
    EXPECT_EQ(test::readFile(server.scratch / "sshd.log").find("Accepted"), std::string::npos);
}

TEST(SftpSessionTest, TheSshConfigNamesTheServerAndThePlaceWinsOverIt)
{
    SshServer server;
    server.trustHostKey();
    std::ofstream(server.scratch / "home/.ssh/config") << "Host alias\n  HostName 127.0.0.1\n  Port " << server.port
                                                       << "\n  User nobody-here\n  IdentityFile "
                                                       << (server.scratch / "client_key") << "\n";
    std::filesystem::rename(server.scratch / "home/.ssh/id_ed25519", server.scratch / "client_key");
    JobScript script;
    auto session = SftpSession::open(*RemotePlace::parse("sftp://" + test::currentUserName() + "@alias/"), script.control);
    EXPECT_EQ(session->where(), "sftp://" + test::currentUserName() + "@127.0.0.1:" + std::to_string(server.port));
    EXPECT_TRUE(script.asked.empty());

    // The config's user is taken when the place names none.
    try {
        SftpSession::open(*RemotePlace::parse("sftp://alias/"), script.control);
        ADD_FAILURE() << "logged in as a user that does not exist";
    } catch (const RemoteError& error) {
        EXPECT_EQ(error.errorCase(), RemoteError::Case::loginRefused);
        EXPECT_NE(std::string(error.what()).find("nobody-here@127.0.0.1"), std::string::npos) << error.what();
    }
}

TEST(SftpSessionTest, AListingGivesEachEntrysFactsAndNoDotEntries)
{
    SshServer server;
    server.trustHostKey();
    TempDir folder;
    folder.write("file.txt", "12345");
    ::chmod((folder / "file.txt").c_str(), 0640);
    const timespec times[2] = { { 1'000'000'000, 0 }, { 1'500'000'000, 0 } };
    ::utimensat(AT_FDCWD, (folder / "file.txt").c_str(), times, 0);
    folder.folder("sub");
    ::symlink("file.txt", (folder / "link").c_str());
    folder.write("new\nline\xFF", "");

    JobScript script;
    auto session = connectTo(server, script);
    auto entries = session->list(folder.path(), nullptr);
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, "file.txt");
    EXPECT_EQ(entries[0].attributes.size, 5u);
    EXPECT_EQ(entries[0].attributes.permissions, static_cast<std::uint32_t>(S_IFREG | 0640));
    EXPECT_EQ(entries[0].attributes.modificationTime, 1'500'000'000u);
    EXPECT_TRUE(entries[1].attributes.isLink());
    EXPECT_EQ(entries[2].name, "new\nline\xFF");
    EXPECT_TRUE(entries[2].usable);
    EXPECT_TRUE(entries[3].attributes.isFolder());
    EXPECT_EQ(session->readLink(folder / "link", nullptr), "file.txt");
    EXPECT_TRUE(session->stat(folder / "link", nullptr).isRegularFile());
    EXPECT_THROW(session->list(folder / "missing", nullptr), std::filesystem::filesystem_error);
}

TEST(SftpSessionTest, CopiesBothWaysAreByteExactAndKeepModes)
{
    SshServer server;
    server.trustHostKey();
    TempDir source;
    source.write("tree/big.bin", randomBytes(3 * 1024 * 1024 + 17, 1));
    source.write("tree/empty", "");
    source.write("tree/deep/er/small", "small");
    source.write("tree/odd \xFF\n name", randomBytes(40'000, 2));
    ::chmod((source / "tree/deep/er/small").c_str(), 0751);
    ::symlink("deep/er", (source / "tree/link").c_str());
    TempDir remote;
    TempDir back;

    JobScript script;
    const auto there = doorTo(server, script);
    const auto disk = FileSystemService::shared();
    auto outcome = script.run(DoorCopyJob(disk, { source / "tree" }, there, remote.path()));
    EXPECT_EQ(outcome.end, JobOutcome::End::completed) << outcome.summary;
    EXPECT_EQ(test::treeOf(remote / "tree"), test::treeOf(source / "tree"));
    EXPECT_EQ(modeOf(remote / "tree/deep/er/small"), 0751);

    outcome = script.run(DoorCopyJob(there, { remote / "tree" }, disk, back.path()));
    EXPECT_EQ(outcome.end, JobOutcome::End::completed) << outcome.summary;
    EXPECT_EQ(test::treeOf(back / "tree"), test::treeOf(source / "tree"));
    EXPECT_EQ(modeOf(back / "tree/deep/er/small"), 0751);
    EXPECT_EQ(script.control.progress().bytesDone, script.control.progress().bytesTotal);

    // The same file again is a conflict; Skip leaves the target alone.
    source.write("tree/empty", "changed");
    JobScript skipping({ JobAnswer::skip });
    outcome = skipping.run(DoorCopyJob(there, { remote / "tree/big.bin" }, disk, back / "tree"));
    ASSERT_EQ(skipping.asked.size(), 1u);
    EXPECT_EQ(skipping.asked[0].kind, JobQuestion::Kind::conflict);
    EXPECT_EQ(skipping.asked[0].source.size, 3 * 1024 * 1024 + 17);

    // Overwriting a link in the target folder replaces the link, never the file it points to.
    TempDir outside;
    outside.write("victim", "kept");
    std::filesystem::remove(back / "tree/empty");
    std::filesystem::create_symlink(outside / "victim", back / "tree/empty");
    JobScript overwriting({ JobAnswer::overwrite });
    outcome = overwriting.run(DoorCopyJob(there, { remote / "tree/empty" }, disk, back / "tree"));
    EXPECT_EQ(outcome.end, JobOutcome::End::completed) << outcome.summary;
    EXPECT_EQ(readFile(outside / "victim"), "kept");
    EXPECT_FALSE(std::filesystem::is_symlink(back / "tree/empty"));
}

TEST(SftpSessionTest, CancellingMidFileLeavesNoPartOfItEitherWay)
{
    SshServer server;
    server.trustHostKey();
    TempDir local;
    TempDir remote;
    local.write("big.bin", randomBytes(24 * 1024 * 1024, 3));
    remote.write("big.bin", randomBytes(24 * 1024 * 1024, 4));
    ::chmod((remote / "big.bin").c_str(), 0600);
    TempDir downloads;
    TempDir uploads;

    JobScript script;
    const auto there = doorTo(server, script);
    const auto disk = FileSystemService::shared();
    // A private file's bytes are open to no more people while they arrive than once they are in.
    // Cancelled while the server is silent, the copy stops at once, not when the silence counts
    // as a lost connection.
    std::vector<int> partModes;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(script
                  .runPastOneMebibyte(DoorCopyJob(there, { remote / "big.bin" }, disk, downloads.path()),
                      [&] {
                          for (const auto& part : std::filesystem::directory_iterator(downloads.path()))
                              partModes.push_back(modeOf(part.path()));
                          server.freeze();
                          // Once what was on its way is in, the copy waits on the server.
                          for (std::int64_t before = -1; before != script.control.progress().currentBytesDone;) {
                              before = script.control.progress().currentBytesDone;
                              std::this_thread::sleep_for(std::chrono::milliseconds(300));
                          }
                          script.control.cancel();
                      })
                  .end,
        JobOutcome::End::cancelled);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    server.resume();
    EXPECT_EQ(partModes, std::vector { 0600 });
    EXPECT_TRUE(std::filesystem::is_empty(downloads.path()));

    JobScript uploading;
    EXPECT_EQ(uploading
                  .runPastOneMebibyte(DoorCopyJob(disk, { local / "big.bin" }, there, uploads.path()))
                  .end,
        JobOutcome::End::cancelled);
    EXPECT_TRUE(std::filesystem::is_empty(uploads.path()));
}

TEST(SftpSessionTest, AServerThatStopsAnsweringIsReportedLostAndNothingIsLeft)
{
    SshServer server;
    server.trustHostKey();
    TempDir remote;
    remote.write("big.bin", randomBytes(24 * 1024 * 1024, 5));
    TempDir downloads;

    JobScript script({ JobAnswer::skip });
    const auto there = doorTo(server, script, { std::chrono::seconds(20), std::chrono::milliseconds(1500) });
    const auto disk = FileSystemService::shared();
    const auto started = std::chrono::steady_clock::now();
    const auto outcome = script.runPastOneMebibyte(
        DoorCopyJob(there, { remote / "big.bin" }, disk, downloads.path()),
        [&] { server.freeze(); });
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(15));
    EXPECT_EQ(outcome.end, JobOutcome::End::incomplete);
    ASSERT_EQ(script.asked.size(), 1u);
    EXPECT_NE(script.asked[0].message.find("Connection lost to sftp://"), std::string::npos) << script.asked[0].message;
    EXPECT_NE(script.asked[0].message.find("stopped answering"), std::string::npos) << script.asked[0].message;
    EXPECT_TRUE(std::filesystem::is_empty(downloads.path()));
    EXPECT_TRUE(there->isLost());
    try {
        there->list(remote.path(), Door::HiddenFiles::show, Door::ListingOrder::asListed, nullptr);
        ADD_FAILURE() << "a lost connection listed a folder";
    } catch (const RemoteError& error) {
        EXPECT_EQ(error.errorCase(), RemoteError::Case::connectionLost);
    }
    server.resume();
}

} // namespace kiv
