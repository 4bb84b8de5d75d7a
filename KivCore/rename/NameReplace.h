#pragma once

#include <cstddef>
#include <optional>
#include <regex>
#include <string>
#include <string_view>

namespace kiv {

// Search and replace in a new name: every occurrence of a plain text, or every match of an
// ECMAScript regular expression with a replacement that may name its groups ("$1", "$&"). The
// expression works on characters: a byte that is not UTF-8 is a character of its own and comes
// back unchanged. Where the standard library allows it (GCC's), matching takes polynomial time
// whatever the expression, so "(a+)+b" cannot hang on a long name, and back-references are refused.
class NameReplace
{
public:
    enum class Syntax
    {
        plainText,
        regularExpression,
    };

    // The longest name apply() searches, in bytes: far beyond any real name, a bound on the work.
    static constexpr std::size_t longestName = 1024;

    // Replaces `search` by `replacement`. Throws KivError::operationFailed with the reason when the
    // expression cannot be read.
    NameReplace(std::string_view search, std::string_view replacement, Syntax syntax);

    // Returns `name` with every match replaced, left to right; an empty search changes nothing.
    // Throws KivError::operationFailed when `name` is longer than longestName.
    std::string apply(std::string_view name) const;

private:
    std::string m_search;
    std::string m_replacement;
    std::optional<std::wregex> m_expression;
    std::wstring m_format;
};

} // namespace kiv
