#pragma once

#include <cstdint>

// The 16 colours of a DOS text screen, the only ones the console draws, and the nearest of them
// to any colour a program asks for.
namespace kiv::TerminalPalette {

// A colour by its 8-bit red, green and blue levels.
struct Rgb
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const Rgb&) const = default;
};

// Returns colour `index` (0 to 15, in the order of the colour codes: black, red, green, brown,
// blue, magenta, cyan, light grey, then their bright forms from dark grey to white).
// REQUIRES: 0 <= index < 16.
Rgb colour(int index);

// Returns the index of the palette colour nearest to `rgb`.
std::uint8_t nearest(Rgb rgb);

// Returns the palette index that stands for entry `index` (0 to 255) of the xterm 256-colour
// palette: the first 16 are the palette itself, the colour cube and the grey ramp their nearest.
std::uint8_t ofXterm256(int index);

} // namespace kiv::TerminalPalette
