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

std::string shown(std::string_view name)
{
    std::string result;
    result.reserve(name.size());
    for (const char byte : name) {
        if (byte == '/')
            result += "\xE2\x88\x95"; // U+2215 DIVISION SLASH
        else if (byte == '\0')
            result += "\xE2\x90\x80"; // U+2400 SYMBOL FOR NULL
        else
            result += byte;
    }
    return result;
}

bool isDotEntry(std::string_view name)
{
    return name == "." || name == "..";
}

} // namespace kiv::RemoteName
