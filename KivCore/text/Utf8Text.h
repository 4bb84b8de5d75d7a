#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Checking, cutting and repairing bytes that should be UTF-8 text.
namespace kiv::Utf8Text {

// One UTF-8 sequence as it stands in a text.
struct Sequence
{
    enum class Kind
    {
        valid, // a whole well-formed sequence
        invalid, // a maximal ill-formed subsequence
        cutShort, // a well-formed beginning that the text ends inside
    };
    Kind kind;
    std::size_t length; // bytes it takes from the text
};

// The sequence that starts at `start`, ruling out overlongs, surrogates and code points above
// U+10FFFF. REQUIRES: start < text.size().
Sequence sequenceAt(std::string_view text, std::size_t start);

// Returns `bytes` unchanged when they are valid UTF-8; otherwise a copy in which every maximal
// ill-formed subsequence is replaced by one U+FFFD, so nothing valid around it is lost.
std::string decodingLossily(std::string bytes);

// True when `bytes` is well-formed UTF-8 (no overlongs, surrogates or code points above
// U+10FFFF). The empty string is valid.
bool isValid(std::string_view bytes);

// The first of the 128 private-use code points U+F780..U+F7FF that stand in for the bytes 0x80..0xFF
// where those bytes are not valid UTF-8, so text made from any bytes can be turned back into them.
inline constexpr char32_t firstStandIn = 0xF780;

// Returns `bytes` as valid UTF-8 text that reversibleBytes() turns back into exactly `bytes`: valid
// sequences stay, and every byte of an ill-formed part becomes its stand-in (U+F700 + byte). A valid
// sequence that itself encodes a stand-in is taken apart the same way, so it cannot be mistaken
// for one.
std::string reversibleText(std::string_view bytes);

// Returns the bytes `text` stands for: every stand-in becomes its byte, everything else stays as
// it is. REQUIRES: `text` is valid UTF-8 (anything else is copied through unchanged).
std::string reversibleBytes(std::string_view text);

// The first of the values above every code point that codePoints() gives bytes that are not UTF-8.
inline constexpr char32_t firstStrayByte = 0x110000;

// Returns `bytes` as code points, each byte that is not part of valid UTF-8 as firstStrayByte plus
// its value, so that bytesOf() gives back exactly `bytes`.
std::u32string codePoints(std::string_view bytes);

// Returns the bytes that `points` from codePoints() stand for.
std::string bytesOf(std::u32string_view points);

// The bytes of the first user-perceived character (extended grapheme cluster) of `text`,
// empty for empty text. Never reads past `text`, whatever bytes it holds.
std::string firstCharacter(std::string_view text);

} // namespace kiv::Utf8Text
