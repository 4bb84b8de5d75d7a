#pragma once

#include <optional>
#include <string>
#include <string_view>

// The %XX escapes of URIs and of the desktop's text files, byte for byte: any file name, UTF-8 or
// not, makes the trip unchanged.
namespace kiv::PercentEncoding {

// Returns `bytes` with every byte but ASCII letters, digits and "-_.~/" written as %XX (upper-case
// hex).
std::string encoded(std::string_view bytes);

// Returns `text` with its %XX escapes (either case) turned back into bytes, or nothing when a "%"
// is not followed by two hex digits.
std::optional<std::string> decoded(std::string_view text);

} // namespace kiv::PercentEncoding
