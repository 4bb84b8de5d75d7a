#include "remote/SshLogin.h"

#include "jobs/JobCancelled.h"
#include "remote/RemoteError.h"
#include "remote/SftpSession.h"

#include <gtest/gtest.h>

#include "FakeSftpServer.h"
#include "JobScript.h"

namespace kiv {

using namespace test;

TEST(SshLoginTest, APasswordIsAskedAgainWhenWrongAndCancelStopsTheLogin)
{
    FakeSftpServer server(FakeSftpServer::Login::password);
    JobScript script;
    std::vector<std::string> typed { "wrong", "open sesame" };
    script.control.setQuestionListener([&] {
        const JobQuestion question = *script.control.pendingQuestion();
        script.asked.push_back(question);
        script.control.answerText(typed[script.asked.size() - 1]);
    });
    auto session = SftpSession::open(server.place(), script.control);
    EXPECT_EQ(session->realPath("", nullptr), "/");
    ASSERT_EQ(script.asked.size(), 2u);
    EXPECT_EQ(script.asked[0].kind, JobQuestion::Kind::secret);
    EXPECT_EQ(script.asked[0].message, "tester's password:");
    EXPECT_FALSE(script.asked[0].echoesReply);
    EXPECT_EQ(script.asked[0].source.path, "sftp://tester@127.0.0.1:" + std::to_string(server.port));
    EXPECT_EQ(script.asked[1].message, "Permission denied, please try again.\ntester's password:");
    EXPECT_EQ(server.logins, 1);
    session.reset(); // the server serves one connection at a time

    // Three wrong passwords refuse the login; Cancel ends it at once.
    JobControl wrong;
    wrong.setQuestionListener([&] { wrong.answerText("no"); });
    try {
        SftpSession::open(server.place(), wrong);
        ADD_FAILURE() << "logged in with a wrong password";
    } catch (const RemoteError& error) {
        EXPECT_EQ(error.errorCase(), RemoteError::Case::loginRefused);
    }
    JobScript cancelling({ JobAnswer::cancel });
    EXPECT_THROW(SftpSession::open(server.place(), cancelling.control), JobCancelled);
    EXPECT_EQ(cancelling.asked.size(), 1u);
}

TEST(SshLoginTest, KeyboardInteractivePromptsAreAskedAsSecrets)
{
    FakeSftpServer server(FakeSftpServer::Login::keyboardInteractive, "123456");
    JobScript script;
    script.control.setQuestionListener([&] {
        script.asked.push_back(*script.control.pendingQuestion());
        script.control.answerText("123456");
    });
    auto session = SftpSession::open(server.place(), script.control);
    ASSERT_EQ(script.asked.size(), 1u);
    EXPECT_EQ(script.asked[0].kind, JobQuestion::Kind::secret);
    EXPECT_EQ(script.asked[0].message, "Type the code.\nVerification code: ");
    EXPECT_EQ(server.logins, 1);
}

} // namespace kiv
