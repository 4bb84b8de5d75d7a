#include "files/TypedPath.h"

#include "base/PathString.h"

namespace kiv::TypedPath {

std::string absolute(const std::string& typed, const std::string& baseFolder, const std::string& home)
{
    if (typed == "~")
        return home;
    if (typed.starts_with("~/"))
        return PathString::appendingComponent(home, typed.substr(2));
    if (typed.starts_with('/'))
        return typed;
    return PathString::appendingComponent(baseFolder, typed);
}

Destination destination(
    const std::string& typed, const std::string& baseFolder, const std::string& home, const std::string& name)
{
    if (typed.find('/') == std::string::npos && typed != "~")
        return { baseFolder, typed };
    const std::string path = absolute(typed, baseFolder, home);
    if (typed.ends_with('/') || typed == "~")
        return { path, name };
    return { PathString::deletingLastComponent(path), PathString::lastComponent(path) };
}

} // namespace kiv::TypedPath
