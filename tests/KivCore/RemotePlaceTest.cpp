#include "remote/RemotePlace.h"

#include <gtest/gtest.h>

namespace kiv {

TEST(RemotePlaceTest, ReadsEveryPartOfAnSftpUrlAndWritesItBack)
{
    EXPECT_EQ(RemotePlace::parse("sftp://me@example.org:2222/srv/data"),
        (RemotePlace { "me", "example.org", 2222, "/srv/data" }));
    EXPECT_EQ(RemotePlace::parse("SFTP://example.org"), (RemotePlace { "", "example.org", std::nullopt, "" }));
    EXPECT_EQ(RemotePlace::parse("sftp://[::1]:22/"), (RemotePlace { "", "::1", 22, "/" }));
    EXPECT_EQ(RemotePlace::parse("sftp://a%40b@h/x%20y%FF"), (RemotePlace { "a@b", "h", std::nullopt, "/x y\xFF" }));

    const RemotePlace odd { "us@er", "::1", 2200, "/dir/100%/caf\xC3\xA9/\xFF\n" };
    EXPECT_EQ(odd.url(), "sftp://us%40er@[::1]:2200/dir/100%25/caf\xC3\xA9/%FF%0A");
    EXPECT_EQ(RemotePlace::parse(odd.url()), odd);
    EXPECT_EQ((RemotePlace { "", "h", std::nullopt, "" }).url(), "sftp://h");
}

TEST(RemotePlaceTest, RefusesWhatIsNotAWellFormedPlace)
{
    for (const char* text : { "/home/me", "ftp://h/", "sftp://", "sftp:///path", "sftp://@h/", "sftp://h:/",
             "sftp://h:0/", "sftp://h:65536/", "sftp://h:22x/", "sftp://[::1/", "sftp://[::1]x/", "sftp://h/%4",
             "sftp://h/%zz" })
        EXPECT_FALSE(RemotePlace::parse(text)) << text;
    EXPECT_TRUE(RemotePlace::looksRemote("Sftp://broken:port"));
    EXPECT_FALSE(RemotePlace::looksRemote("sftp:/h"));
}

} // namespace kiv
