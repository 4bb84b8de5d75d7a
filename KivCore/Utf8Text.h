#pragma once

#include <string>

// Turning bytes that should be UTF-8 into text that is.
namespace kiv::Utf8Text {

// Returns `bytes` unchanged when they are valid UTF-8; otherwise a copy in which every maximal
// ill-formed subsequence is replaced by one U+FFFD, so nothing valid around it is lost.
std::string decodingLossily(std::string bytes);

} // namespace kiv::Utf8Text
