#pragma once

#include "remote/RemotePlace.h"

#include <optional>
#include <string>

namespace kiv {

// The fields of the "Connect to server" question as typed, and the place they name. Each field is
// read without the blanks around it; the port and user may be left empty for ~/.ssh/config to
// give (else 22 and the local user), and the folder empty or "~" for the folder the login starts
// in ("~/x" or "x" lie below it).
struct ConnectForm
{
    std::string host;
    std::string port = "22";
    std::string user;
    std::string folder;

    // Returns why the fields name no server, as the user reads it ("Give the server's host name or
    // address."), or nothing when they name one.
    std::optional<std::string> problem() const;
    // Returns the place the fields name. REQUIRES: problem() is empty.
    RemotePlace place() const;
};

} // namespace kiv
