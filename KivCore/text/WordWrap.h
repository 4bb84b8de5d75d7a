#pragma once

#include <string>
#include <string_view>
#include <vector>

// Text broken into lines for a screen of fixed-width characters.
namespace kiv::WordWrap {

// Returns `text` (one paragraph of UTF-8) broken into lines of at most `width` characters at its
// blanks, the blanks at each break dropped; a word longer than a line is broken where the line
// ends. Returns one empty line for an empty text. REQUIRES: width >= 1.
std::vector<std::string> lines(std::string_view text, int width);

} // namespace kiv::WordWrap
