#pragma once

#include <cstdint>

namespace kiv {

// One character cell of a terminal screen: the character it shows and how it is drawn.
struct TerminalCell
{
    // The colour index of a colour the program did not choose: the console's own text or
    // background colour. The others, 0 to 15, are TerminalPalette's.
    static constexpr std::uint8_t defaultColour = 16;
    // What a cell shows for a byte that is not UTF-8 or a character that draws nothing or moves
    // the pen; the console draws it as a reversed "?".
    static constexpr char32_t placeholder = 0xFFFD;

    // The bits of `style`.
    enum Style : std::uint8_t
    {
        bold = 1,
        underline = 2,
        italic = 4,
        reverse = 8,
        strike = 16,
        blink = 32,
    };

    char32_t character = U' '; // 0 in the right half of a wide character
    char32_t mark = 0; // a combining mark drawn over the character, if any
    std::uint8_t foreground = defaultColour;
    std::uint8_t background = defaultColour;
    std::uint8_t style = 0;
    std::uint8_t width = 1; // 2 in the left half of a wide character, 0 in its right half

    bool operator==(const TerminalCell&) const = default;
};

} // namespace kiv
