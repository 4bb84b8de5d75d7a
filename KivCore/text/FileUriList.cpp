#include "text/FileUriList.h"

#include "text/PercentEncoding.h"

#include <algorithm>
#include <cctype>

namespace kiv::FileUriList {

namespace {

// Whether `text` starts with `start` (lower-case ASCII), letters in either case.
bool startsWithNoCase(std::string_view text, std::string_view start)
{
    return text.size() >= start.size()
        && std::equal(start.begin(), start.end(), text.begin(),
            [](char lower, char any) { return std::tolower(static_cast<unsigned char>(any)) == lower; });
}

// The path a file: URI names on this machine: "file:///p", "file://localhost/p" or "file:/p".
std::optional<std::string> localPath(std::string_view uri)
{
    constexpr std::string_view scheme = "file:";
    if (!startsWithNoCase(uri, scheme))
        return std::nullopt;
    std::string_view rest = uri.substr(scheme.size());
    if (rest.starts_with("//")) {
        const std::size_t slash = rest.find('/', 2);
        const std::string_view host = rest.substr(2, slash == std::string_view::npos ? rest.npos : slash - 2);
        if (slash == std::string_view::npos || !(host.empty() || (host.size() == 9 && startsWithNoCase(host, "localhost"))))
            return std::nullopt;
        rest = rest.substr(slash);
    }
    std::optional<std::string> path = PercentEncoding::decoded(rest);
    // A NUL ends a path early at the system's calls: the file it would reach is another one.
    if (!path || !path->starts_with('/') || path->find('\0') != std::string::npos)
        return std::nullopt;
    return path;
}

// Each line of `text` without its CR LF or LF, the last one also without an ending.
std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

Files filesOf(const std::vector<std::string_view>& uris)
{
    Files files;
    for (std::string_view uri : uris) {
        if (uri.empty() || uri.starts_with('#'))
            continue;
        if (std::optional<std::string> path = localPath(uri))
            files.paths.push_back(std::move(*path));
        else
            files.others.emplace_back(uri);
    }
    return files;
}

} // namespace

std::string uriOf(std::string_view path)
{
    return "file://" + PercentEncoding::encoded(path);
}

std::string uriList(const std::vector<std::string>& paths)
{
    std::string text;
    for (const std::string& path : paths)
        text += uriOf(path) + "\r\n";
    return text;
}

std::string copiedFiles(const std::vector<std::string>& paths, bool cut)
{
    std::string text = cut ? "cut" : "copy";
    for (const std::string& path : paths)
        text += '\n' + uriOf(path);
    return text;
}

Files fromUriList(std::string_view text)
{
    return filesOf(linesOf(text));
}

std::optional<Files> fromCopiedFiles(std::string_view text)
{
    std::vector<std::string_view> lines = linesOf(text);
    if (lines.empty() || (lines.front() != "copy" && lines.front() != "cut"))
        return std::nullopt;
    const bool cut = lines.front() == "cut";
    lines.erase(lines.begin());
    Files files = filesOf(lines);
    files.cut = cut;
    return files;
}

} // namespace kiv::FileUriList
