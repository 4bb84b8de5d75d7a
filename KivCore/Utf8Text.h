#pragma once

#include <string>
#include <string_view>

// Checks and cuts UTF-8 text held in plain byte strings.
namespace kiv::Utf8Text {

// True when `bytes` is well-formed UTF-8: no stray or missing continuation bytes, no overlong
// forms, no surrogates and nothing above U+10FFFF. The empty string is valid.
bool isValid(std::string_view bytes);

// The bytes of the first user-perceived character (extended grapheme cluster) of `text`,
// empty for empty text. Never reads past `text`, whatever bytes it holds.
std::string firstCharacter(std::string_view text);

} // namespace kiv::Utf8Text
