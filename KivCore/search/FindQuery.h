#pragma once

#include "search/TextSearch.h"
#include "text/NamePatterns.h"

#include <string>

namespace kiv {

// What the user asks the find dialog for. A plain value.
struct FindQuery
{
    // Whether archives met on the way are searched as folders (for names only).
    enum class Archives
    {
        skipped,
        searched,
    };

    std::string root; // the folder searched, with everything below it
    std::string namePatterns = "*"; // NamePatterns text; empty matches every name
    std::string text; // empty: names only
    NamePatterns::LetterCase letterCase = NamePatterns::LetterCase::ignored; // for names and text
    TextSearch::Words words = TextSearch::Words::anywhere;
    TextSearch::Binaries binaries = TextSearch::Binaries::skipped;
    Archives archives = Archives::skipped;

    bool operator==(const FindQuery&) const = default;
};

} // namespace kiv
