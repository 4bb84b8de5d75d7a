#include "remote/SftpDownload.h"

#include "base/KivError.h"

#include "remote/SftpCopyJob.h"
#include "remote/SftpSession.h"
#include "remote/SftpTreeRemoval.h"

#include <gtest/gtest.h>

#include "FakeSftpServer.h"
#include "JobScript.h"

namespace kiv {

using namespace test;

TEST(SftpDownloadTest, NamesFromAHostileServerNeverWriteOutsideTheTarget)
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
    auto session = SftpSession::open(server.place(), script.control);
    const auto outcome = script.run(SftpCopyJob(session, SftpCopyJob::Direction::download, { "/hostile" }, target.path()));
    EXPECT_EQ(outcome.end, JobOutcome::End::incomplete) << outcome.summary;

    EXPECT_EQ(test::treeOf(target.path()),
        (test::Tree { { "hostile", "/" }, { "hostile/fine \xFF\nname", "kept" }, { "hostile/door", "-> " + outside.path() } }));
    EXPECT_TRUE(test::treeOf(outside.path()).empty());
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(target.path()).parent_path() / "escaped"));
    std::vector<std::string> refused;
    for (const JobQuestion& question : script.asked)
        if (question.kind == JobQuestion::Kind::itemError)
            refused.push_back(question.message);
    ASSERT_EQ(refused.size(), 6u) << ::testing::PrintToString(refused);
    EXPECT_EQ(refused[0], "The server's name holds a \"/\", it cannot be copied");
    EXPECT_EQ(refused[2], "The server's name holds a \"/\", it cannot be copied");
    EXPECT_EQ(refused[3], "The server's name holds a zero byte, it cannot be copied");
    EXPECT_EQ(refused[4], "The server's name is empty, it cannot be copied");
    EXPECT_NE(refused[5].find("door"), std::string::npos) << refused[5];

    // Removing there refuses a listing with such names rather than guess what they stand for.
    EXPECT_THROW(SftpTreeRemoval::remove(*session, "/hostile", script.control), KivError);
}

} // namespace kiv
