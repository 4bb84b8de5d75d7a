#include "rename/NameReplace.h"

#include "base/KivError.h"
#include "text/Utf8Text.h"

namespace kiv {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char32_t), "wide characters hold whole code points");

#ifdef __GLIBCXX__
// The library's own guarantee against exponential matching (its breadth-first matcher).
constexpr auto expressionSyntax = std::regex_constants::ECMAScript | std::regex_constants::__polynomial;
#else
constexpr auto expressionSyntax = std::regex_constants::ECMAScript;
#endif

std::wstring wide(std::string_view bytes)
{
    const std::u32string points = Utf8Text::codePoints(bytes);
    return { points.begin(), points.end() };
}

std::string narrow(const std::wstring& text)
{
    return Utf8Text::bytesOf(std::u32string(text.begin(), text.end()));
}

std::string replacedPlainly(std::string_view name, const std::string& search, const std::string& replacement)
{
    std::string result;
    std::size_t at = 0;
    std::size_t found = name.find(search);
    while (found != std::string_view::npos) {
        result.append(name.substr(at, found - at)).append(replacement);
        at = found + search.size();
        found = name.find(search, at);
    }
    return result.append(name.substr(at));
}

} // namespace

NameReplace::NameReplace(std::string_view search, std::string_view replacement, Syntax syntax)
    : m_search(search)
    , m_replacement(replacement)
{
    if (syntax == Syntax::plainText || search.empty())
        return;
    try {
        m_expression.emplace(wide(search), expressionSyntax);
    } catch (const std::regex_error& error) {
        const bool backReference = error.code() == std::regex_constants::error_complexity;
        throw KivError::operationFailed(backReference
                ? std::string("Back-references (\\1) are not allowed in the search expression.")
                : "The search expression cannot be read: " + std::string(error.what()));
    }
    m_format = wide(replacement);
}

std::string NameReplace::apply(std::string_view name) const
{
    if (m_search.empty())
        return std::string(name);
    if (name.size() > longestName)
        throw KivError::operationFailed("A name of " + std::to_string(name.size())
            + " bytes is too long to search; the longest is " + std::to_string(longestName) + ".");
    if (!m_expression)
        return replacedPlainly(name, m_search, m_replacement);
    return narrow(std::regex_replace(wide(name), *m_expression, m_format));
}

} // namespace kiv
