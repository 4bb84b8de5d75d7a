#include "base/PathString.h"

#include <cstdlib>
#include <vector>

namespace kiv::PathString {

namespace {

std::string_view withoutTrailingSlashes(std::string_view path)
{
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return path;
}

std::vector<std::string_view> components(std::string_view path)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        auto end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

} // namespace

std::string appendingComponent(std::string_view folder, std::string_view name)
{
    while (!name.empty() && name.front() == '/')
        name.remove_prefix(1);
    std::string joined(withoutTrailingSlashes(folder));
    if (joined.empty())
        return std::string(name);
    if (joined.back() != '/')
        joined += '/';
    joined += name;
    return joined;
}

std::string deletingLastComponent(std::string_view path)
{
    path = withoutTrailingSlashes(path);
    if (path == "/")
        return "/";
    auto slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return "";
    if (slash == 0)
        return "/";
    return std::string(withoutTrailingSlashes(path.substr(0, slash)));
}

std::string parentOrRoot(std::string_view path)
{
    auto parent = deletingLastComponent(path);
    return parent.empty() ? "/" : parent;
}

std::string lastComponent(std::string_view path)
{
    path = withoutTrailingSlashes(path);
    if (path == "/")
        return "/";
    auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string standardizing(std::string_view path)
{
    std::string expanded;
    if (!path.empty() && path.front() == '~' && (path.size() == 1 || path[1] == '/')) {
        const char* home = std::getenv("HOME");
        expanded = std::string(home ? home : "") + std::string(path.substr(1));
        path = expanded;
    }
    bool absolute = !path.empty() && path.front() == '/';
    std::vector<std::string_view> kept;
    for (auto part : components(path)) {
        if (part.empty() || part == ".")
            continue;
        if (part == ".." && absolute) {
            if (!kept.empty())
                kept.pop_back();
            continue;
        }
        kept.push_back(part);
    }
    std::string result = absolute ? "/" : "";
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i > 0)
            result += '/';
        result += kept[i];
    }
    return result;
}

std::string resolving(std::string_view typed, std::string_view base)
{
    if (!typed.empty() && (typed.front() == '/' || typed.front() == '~'))
        return standardizing(typed);
    return standardizing(appendingComponent(base, typed));
}

bool isSameOrInside(std::string_view path, std::string_view ancestor)
{
    path = withoutTrailingSlashes(path);
    ancestor = withoutTrailingSlashes(ancestor);
    if (path.substr(0, ancestor.size()) != ancestor)
        return false;
    return path.size() == ancestor.size() || ancestor == "/" || path[ancestor.size()] == '/';
}

} // namespace kiv::PathString
