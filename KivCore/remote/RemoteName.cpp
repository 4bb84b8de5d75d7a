#include "remote/RemoteName.h"

namespace kiv::RemoteName {

std::optional<std::string> problem(std::string_view name)
{
    if (name.empty())
        return "is empty";
    if (isDotEntry(name))
        return "is \"" + std::string(name) + "\"";
    if (name.find('/') != std::string_view::npos)
        return "holds a \"/\"";
    if (name.find('\0') != std::string_view::npos)
        return "holds a zero byte";
    return std::nullopt;
}

bool isDotEntry(std::string_view name)
{
    return name == "." || name == "..";
}

} // namespace kiv::RemoteName
