#pragma once

#include "terminal/TerminalSnapshot.h"

#include <string>
#include <unicode/utf8.h>

namespace kiv::test {

// Returns the text of `snapshot`'s rows from `firstRow` on, each without its trailing blanks,
// joined by line breaks, blank rows at the end left out; the right halves of wide characters add
// nothing.
inline std::string terminalText(const TerminalSnapshot& snapshot, int firstRow = 0)
{
    std::string text;
    std::size_t kept = 0;
    for (int row = firstRow; row < snapshot.rows; ++row) {
        std::string line;
        for (int column = 0; column < snapshot.columns; ++column) {
            for (const char32_t character : { snapshot.at(row, column).character, snapshot.at(row, column).mark }) {
                if (character == 0)
                    continue;
                char encoded[U8_MAX_LENGTH];
                int length = 0;
                U8_APPEND_UNSAFE(encoded, length, character);
                line.append(encoded, std::size_t(length));
            }
        }
        line.erase(line.find_last_not_of(' ') + 1);
        text += (row > firstRow ? "\n" : "") + line;
        if (!line.empty())
            kept = text.size();
    }
    return text.substr(0, kept);
}

} // namespace kiv::test
