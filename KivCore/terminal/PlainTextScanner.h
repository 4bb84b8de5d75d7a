#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kiv {

// Follows what a program writes to a terminal to find the runs of plain text (printable ASCII,
// carriage returns and line feeds) that meet the terminal in its plain state: no sequence or
// UTF-8 character begun, and nothing written yet that changes how text is placed (modes,
// scrolling regions, character sets, the alternate screen). It knows only a few harmless
// sequences (colours, cursor moves, erasing); after any other, it finds no more plain runs.
class PlainTextScanner
{
public:
    // Returns how many bytes from the start of `bytes` form a plain run; 0 when the first byte
    // does not begin one.
    std::size_t plainRun(std::string_view bytes) const;
    // Follows bytes from the start of `bytes`, which do not begin a plain run, up to where one
    // begins or to the end; returns how many it followed (at least 1 when `bytes` is not empty).
    std::size_t skip(std::string_view bytes);

private:
    enum class State : std::uint8_t
    {
        plain,
        escape, // after ESC
        designation, // after ESC (
        controlSequence, // after ESC [ and digits
        unknown,
    };

    void follow(unsigned char byte);
    void followPlain(unsigned char byte);

    State m_state = State::plain;
    int m_utf8Missing = 0; // continuation bytes the UTF-8 character begun still needs
};

} // namespace kiv
