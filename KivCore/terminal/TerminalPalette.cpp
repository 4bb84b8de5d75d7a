#include "terminal/TerminalPalette.h"

#include <array>
#include <limits>

namespace kiv::TerminalPalette {

namespace {

// The DOS levels, as the panels' colours have them: 0.33 and 0.67 of full.
constexpr std::uint8_t low = 84;
constexpr std::uint8_t high = 171;

constexpr std::array<Rgb, 16> colours { {
    { 0, 0, 0 },
    { high, 0, 0 },
    { 0, high, 0 },
    { high, low, 0 },
    { 0, 0, high },
    { high, 0, high },
    { 0, high, high },
    { high, high, high },
    { low, low, low },
    { 255, low, low },
    { low, 255, low },
    { 255, 255, low },
    { low, low, 255 },
    { 255, low, 255 },
    { low, 255, 255 },
    { 255, 255, 255 },
} };

// The steps of the xterm colour cube's axes.
constexpr std::array<std::uint8_t, 6> cubeLevels { 0, 95, 135, 175, 215, 255 };

// Weighted by how strongly the eye tells each primary apart, so a dark blue is not matched
// to black merely because blue counts as little as red.
long distance(Rgb a, Rgb b)
{
    const long red = long(a.red) - b.red;
    const long green = long(a.green) - b.green;
    const long blue = long(a.blue) - b.blue;
    return 3 * red * red + 4 * green * green + 2 * blue * blue;
}

} // namespace

Rgb colour(int index)
{
    return colours[std::size_t(index)];
}

std::uint8_t nearest(Rgb rgb)
{
    std::uint8_t best = 0;
    long bestDistance = std::numeric_limits<long>::max();
    for (std::size_t index = 0; index < colours.size(); ++index) {
        if (const long d = distance(rgb, colours[index]); d < bestDistance) {
            bestDistance = d;
            best = std::uint8_t(index);
        }
    }
    return best;
}

std::uint8_t ofXterm256(int index)
{
    if (index < 16)
        return std::uint8_t(index);
    if (index < 232) {
        const int cube = index - 16;
        return nearest({ cubeLevels[std::size_t(cube / 36)], cubeLevels[std::size_t(cube / 6 % 6)],
            cubeLevels[std::size_t(cube % 6)] });
    }
    const auto grey = std::uint8_t(8 + 10 * (index - 232));
    return nearest({ grey, grey, grey });
}

} // namespace kiv::TerminalPalette
