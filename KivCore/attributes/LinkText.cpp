#include "attributes/LinkText.h"

#include "base/ErrorText.h"
#include "base/PathString.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

namespace kiv::LinkText {

namespace {

std::vector<std::string_view> components(std::string_view path)
{
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        if (slash != 0)
            parts.push_back(path.substr(0, slash));
        path.remove_prefix(slash == std::string_view::npos ? path.size() : slash + 1);
    }
    return parts;
}

std::string realFolder(const std::string& path)
{
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    if (!resolved)
        throwSystemError(errno, path);
    return resolved.get();
}

} // namespace

std::string relativePath(const std::string& from, const std::string& to)
{
    const auto fromParts = components(from);
    const auto toParts = components(to);
    std::size_t common = 0;
    while (common < fromParts.size() && common < toParts.size() && fromParts[common] == toParts[common])
        ++common;
    std::string way;
    for (std::size_t up = common; up < fromParts.size(); ++up)
        way += way.empty() ? ".." : "/..";
    for (std::size_t down = common; down < toParts.size(); ++down)
        way.append(way.empty() ? "" : "/").append(toParts[down]);
    return way.empty() ? "." : way;
}

std::string toward(const std::string& target, const std::string& linkFolder, Form form)
{
    if (form == Form::absolute)
        return target;
    const std::string from = realFolder(linkFolder);
    if (PathString::standardizing(target) == "/")
        return relativePath(from, "/");
    const std::string way = relativePath(from, realFolder(PathString::parentOrRoot(target)));
    const std::string name = PathString::lastComponent(target);
    return way == "." ? name : way + "/" + name;
}

} // namespace kiv::LinkText
