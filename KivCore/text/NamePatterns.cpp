#include "text/NamePatterns.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace kiv {

namespace {

constexpr auto npos = std::u32string::npos;

// Bytes that are not UTF-8 get values above every code point, one for each byte value.
constexpr char32_t firstStrayByte = 0x110000;

// The index of the "]" that closes the set opening at `open`, or npos when it is never closed
// (then the "[" is an ordinary character). A "]" right after "[", "[!" or "[^" is a member.
template <typename Text> std::size_t setEnd(const Text& pattern, std::size_t open)
{
    std::size_t at = open + 1;
    if (at < pattern.size() && (pattern[at] == '!' || pattern[at] == '^'))
        ++at;
    if (at < pattern.size() && pattern[at] == ']')
        ++at;
    for (; at < pattern.size(); ++at) {
        if (pattern[at] == ']')
            return at;
    }
    return npos;
}

bool inSet(const std::u32string& pattern, std::size_t open, std::size_t close, char32_t character)
{
    std::size_t at = open + 1;
    const bool negated = pattern[at] == '!' || pattern[at] == '^';
    if (negated)
        ++at;
    bool found = false;
    for (; at < close; ++at) {
        const bool isRange = at + 2 < close && pattern[at + 1] == '-';
        if (isRange ? pattern[at] <= character && character <= pattern[at + 2] : pattern[at] == character)
            found = true;
        if (isRange)
            at += 2;
    }
    return found != negated;
}

// Whether the pattern element at `at` (anything but "*") matches `character`; `next` is set to
// the element after it.
bool elementMatches(const std::u32string& pattern, std::size_t at, char32_t character, std::size_t& next)
{
    next = at + 1;
    switch (pattern[at]) {
    case '?':
        return true;
    case '\\':
        if (at + 1 == pattern.size())
            return character == '\\';
        next = at + 2;
        return pattern[at + 1] == character;
    case '[':
        if (const auto close = setEnd(pattern, at); close != npos) {
            next = close + 1;
            return inSet(pattern, at, close, character);
        }
        return character == '[';
    default:
        return pattern[at] == character;
    }
}

// Greedy with one way back: on a mismatch the last "*" takes one more character. Linear for
// patterns with one "*", and never worse than the product of the two lengths.
bool wholeMatch(const std::u32string& pattern, const std::u32string& name)
{
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starNext = npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        std::size_t next = 0;
        if (p < pattern.size() && pattern[p] == '*') {
            starNext = ++p;
            starName = n;
        } else if (p < pattern.size() && elementMatches(pattern, p, name[n], next)) {
            p = next;
            ++n;
        } else if (starNext != npos) {
            p = starNext;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The end of the pattern that starts at `start`: the first separator outside a set and not
// escaped, or the end of the text.
std::size_t patternEnd(std::string_view text, std::size_t start)
{
    for (std::size_t at = start; at < text.size(); ++at) {
        if (text[at] == ';' || text[at] == ',')
            return at;
        if (text[at] == '\\')
            ++at;
        else if (const auto close = text[at] == '[' ? setEnd(text, at) : npos; close != npos)
            at = close;
    }
    return text.size();
}

} // namespace

NamePatterns::NamePatterns(std::string_view text, LetterCase letterCase)
    : m_letterCase(letterCase)
{
    for (std::size_t start = 0; start <= text.size();) {
        const auto end = patternEnd(text, start);
        if (const auto pattern = trimmed(text.substr(start, end - start)); !pattern.empty())
            m_patterns.push_back(codePoints(pattern));
        start = end + 1;
    }
}

bool NamePatterns::matches(std::string_view name) const
{
    const auto folded = codePoints(name);
    for (const auto& pattern : m_patterns) {
        if (wholeMatch(pattern, folded))
            return true;
    }
    return false;
}

std::u32string NamePatterns::codePoints(std::string_view text) const
{
    std::u32string points;
    points.reserve(text.size());
    const auto length = static_cast<int32_t>(text.size());
    for (int32_t at = 0; at < length;) {
        const int32_t start = at;
        UChar32 point = 0;
        U8_NEXT(text.data(), at, length, point);
        if (point < 0)
            points.push_back(
                firstStrayByte + static_cast<unsigned char>(text[static_cast<std::size_t>(start)]));
        else
            points.push_back(static_cast<char32_t>(
                m_letterCase == LetterCase::ignored ? u_foldCase(point, U_FOLD_CASE_DEFAULT) : point));
    }
    return points;
}

} // namespace kiv
