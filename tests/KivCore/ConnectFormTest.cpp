#include "remote/ConnectForm.h"

#include <gtest/gtest.h>

namespace kiv {

TEST(ConnectFormTest, TheFieldsNameThePlaceAndOnlyAPlace)
{
    EXPECT_EQ((ConnectForm { " files.example.org ", " 2222", " me ", "/srv/data " }).place(),
        (RemotePlace { "me", "files.example.org", 2222, "/srv/data" }));
    // Empty port and user are left to the config; "~" is the login folder, "~/x" lies below it.
    EXPECT_EQ((ConnectForm { "h", "", "", "~" }).place(), (RemotePlace { "", "h", std::nullopt, "" }));
    EXPECT_EQ((ConnectForm { "h", "22", "", "~/up load" }).place().path, "up load");
    EXPECT_EQ((ConnectForm { "[::1]", "22", "", "" }).place().host, "::1");
    EXPECT_FALSE((ConnectForm { "[::1]", "22", "u", "/x" }).problem());

    // What would read as another part of an address, or no port, is refused by name.
    for (const ConnectForm& bad : { ConnectForm { "  ", "22", "", "" }, ConnectForm { "a@b", "22", "", "" },
             ConnectForm { "h/x", "22", "", "" }, ConnectForm { "h x", "22", "", "" },
             ConnectForm { "h", "0", "", "" }, ConnectForm { "h", "65536", "", "" },
             ConnectForm { "h", "22x", "", "" }, ConnectForm { "h", "22", "a b", "" } })
        EXPECT_TRUE(bad.problem()) << bad.host << " " << bad.port << " " << bad.user;
    EXPECT_EQ((ConnectForm { "h", "99999", "", "" }).problem(), "The port is a number from 1 to 65535, not 99999.");
    EXPECT_EQ((ConnectForm {}).problem(), "Give the server's host name or address.");
}

} // namespace kiv
