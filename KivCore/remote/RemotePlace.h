#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kiv {

// A folder or file on another machine as the user names it: sftp://[user@]host[:port][/path]. The
// user and port may be left to ~/.ssh/config; the path is the server's bytes, absolute, or empty
// for the login folder.
struct RemotePlace
{
    std::string user; // empty: from the config, else the local user name
    std::string host; // a name, an alias from the config, an address; IPv6 without brackets
    std::optional<int> port; // empty: from the config, else 22
    std::string path; // "/..." on the server, or empty for the folder the server starts in

    // Reads `text` as an sftp:// URL (the scheme in any letter case, %XX escapes in the user and
    // path decoded); nothing when it is not one or is malformed (no host, a bad port).
    static std::optional<RemotePlace> parse(std::string_view text);
    // True when `text` starts with the sftp:// scheme, well formed or not.
    static bool looksRemote(std::string_view text);

    // The URL that parse() reads back to this place: "%" and the bytes that are not printable
    // UTF-8 escaped, the port only when one is set.
    std::string url() const;
    // The same place with another path on the same server.
    RemotePlace withPath(std::string path) const;

    bool operator==(const RemotePlace&) const = default;
};

} // namespace kiv
