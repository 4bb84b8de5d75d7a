#include "remote/RemotePlace.h"

#include "text/PercentEncoding.h"
#include "text/Utf8Text.h"

#include <charconv>

namespace kiv {

namespace {

constexpr std::string_view scheme = "sftp://";

// Escapes "%", control bytes, and the bytes of ill-formed UTF-8, plus any of `reserved`.
std::string percentEncoded(std::string_view text, std::string_view reserved)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string encoded;
    for (std::size_t i = 0; i < text.size();) {
        const auto sequence = Utf8Text::sequenceAt(text, i);
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool plain = sequence.kind == Utf8Text::Sequence::Kind::valid && byte >= 0x20 && byte != 0x7F
            && byte != '%' && reserved.find(text[i]) == std::string_view::npos;
        if (plain) {
            encoded.append(text.substr(i, sequence.length));
            i += sequence.length;
            continue;
        }
        const std::size_t length = sequence.kind == Utf8Text::Sequence::Kind::valid ? sequence.length : 1;
        for (std::size_t k = i; k < i + length; ++k) {
            const auto each = static_cast<unsigned char>(text[k]);
            encoded += '%';
            encoded += digits[each >> 4];
            encoded += digits[each & 15];
        }
        i += length;
    }
    return encoded;
}

std::optional<int> parsedPort(std::string_view text)
{
    int port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size() || port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

// Splits "host[:port]" or "[v6]:port" into the place; false when malformed.
bool readHostAndPort(std::string_view authority, RemotePlace& place)
{
    std::string_view portText;
    if (authority.starts_with('[')) {
        const auto close = authority.find(']');
        if (close == std::string_view::npos)
            return false;
        place.host = authority.substr(1, close - 1);
        const auto rest = authority.substr(close + 1);
        if (!rest.empty() && !rest.starts_with(':'))
            return false;
        portText = rest.empty() ? rest : rest.substr(1);
        if (rest == ":")
            return false;
    } else {
        const auto colon = authority.find(':');
        place.host = authority.substr(0, colon);
        if (colon != std::string_view::npos) {
            portText = authority.substr(colon + 1);
            if (portText.empty())
                return false;
        }
    }
    if (!portText.empty()) {
        place.port = parsedPort(portText);
        if (!place.port)
            return false;
    }
    return !place.host.empty();
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

} // namespace

bool RemotePlace::looksRemote(std::string_view text)
{
    return text.size() >= scheme.size() && equalsIgnoringCase(text.substr(0, scheme.size()), scheme);
}

std::optional<RemotePlace> RemotePlace::parse(std::string_view text)
{
    if (!looksRemote(text))
        return std::nullopt;
    text.remove_prefix(scheme.size());
    const auto slash = text.find('/');
    std::string_view authority = text.substr(0, slash);
    RemotePlace place;
    const auto at = authority.rfind('@');
    if (at != std::string_view::npos) {
        auto user = PercentEncoding::decoded(authority.substr(0, at));
        if (!user || user->empty())
            return std::nullopt;
        place.user = std::move(*user);
        authority.remove_prefix(at + 1);
    }
    if (!readHostAndPort(authority, place))
        return std::nullopt;
    if (slash != std::string_view::npos) {
        auto path = PercentEncoding::decoded(text.substr(slash));
        if (!path)
            return std::nullopt;
        place.path = std::move(*path);
    }
    return place;
}

std::string RemotePlace::url() const
{
    std::string text(scheme);
    if (!user.empty())
        text.append(percentEncoded(user, "@/:")).append(1, '@');
    const bool bracketed = host.find(':') != std::string::npos;
    if (bracketed)
        text += '[';
    text += host;
    if (bracketed)
        text += ']';
    if (port)
        text.append(1, ':').append(std::to_string(*port));
    text += percentEncoded(path, "");
    return text;
}

RemotePlace RemotePlace::withPath(std::string newPath) const
{
    RemotePlace place = *this;
    place.path = std::move(newPath);
    return place;
}

} // namespace kiv
