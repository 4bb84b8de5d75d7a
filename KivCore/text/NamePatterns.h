#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// A group of file-name patterns as the user types them ("*.txt; *.md, report-??.[ct]sv"): "*"
// stands for any run of characters, "?" for one character, "[...]" for one of a set ("[a-z]",
// "[!0-9]" or "[^0-9]" for none of it), and "\" takes the next character literally. Patterns
// are separated by ";" or ","; a separator inside "[...]" or after "\" belongs to the pattern,
// so "a[;]b" and "a\;b" both match the name "a;b". Characters are compared as Unicode code
// points; bytes that are not UTF-8 match only themselves, "?" and "*".
class NamePatterns
{
public:
    // Whether upper and lower case letters match each other.
    enum class LetterCase
    {
        ignored,
        matched,
    };

    // Splits `text` into its patterns, blanks around each one dropped and empty ones skipped.
    explicit NamePatterns(std::string_view text, LetterCase letterCase = LetterCase::ignored);

    // True when some pattern matches the whole of `name`; never when the text held no pattern.
    bool matches(std::string_view name) const;

private:
    std::u32string codePoints(std::string_view text) const;

    LetterCase m_letterCase;
    std::vector<std::u32string> m_patterns;
};

} // namespace kiv
