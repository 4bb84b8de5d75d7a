#include "shell/ShellQuote.h"

#include <algorithm>

namespace kiv::ShellQuote {

namespace {

bool isPlain(char c)
{
    const bool alphanumeric = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    return alphanumeric || std::string_view("_-.,/+=:@%").find(c) != std::string_view::npos;
}

} // namespace

std::string quotedIfNeeded(std::string_view word)
{
    if (!word.empty() && word.front() != '~' && std::all_of(word.begin(), word.end(), isPlain))
        return std::string(word);
    std::string quoted = "'";
    for (char c : word) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

} // namespace kiv::ShellQuote
