#include "remote/ConnectForm.h"

#include <charconv>
#include <string_view>

namespace kiv {

namespace {

constexpr std::string_view blanks = " \t";

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// An IPv6 address may come in the brackets a URL needs; the place holds it bare.
std::string_view bareHost(std::string_view host)
{
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        return host.substr(1, host.size() - 2);
    return host;
}

std::optional<int> portNumber(std::string_view text)
{
    int port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size() || port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

// The server's path for the typed folder: "~" and relative folders start at the login folder,
// which the server resolves from a relative path itself.
std::string serverPath(std::string_view folder)
{
    if (folder == "~")
        return {};
    if (folder.starts_with("~/"))
        folder.remove_prefix(2);
    return std::string(folder);
}

} // namespace

std::optional<std::string> ConnectForm::problem() const
{
    const std::string_view name = bareHost(trimmed(host));
    if (name.empty())
        return "Give the server's host name or address.";
    // These would change what the rest of an address means: a user, a path, a second host.
    if (name.find_first_of("/@ \t[]") != std::string_view::npos)
        return "Not a host name or address: " + std::string(trimmed(host));
    const std::string_view portText = trimmed(port);
    if (!portText.empty() && !portNumber(portText))
        return "The port is a number from 1 to 65535, not " + std::string(portText) + ".";
    if (trimmed(user).find_first_of(blanks) != std::string_view::npos)
        return "A user name holds no blanks: " + std::string(trimmed(user));
    return std::nullopt;
}

RemotePlace ConnectForm::place() const
{
    const std::string_view portText = trimmed(port);
    return { std::string(trimmed(user)), std::string(bareHost(trimmed(host))),
        portText.empty() ? std::nullopt : portNumber(portText), serverPath(trimmed(folder)) };
}

} // namespace kiv
