#pragma once

#include <exception>
#include <string>

namespace kiv {

// Throws std::filesystem::filesystem_error for the failed call's errno and the path it was about.
[[noreturn]] void throwSystemError(int errorNumber, const std::string& path);

// The text the user reads for any failure: a KivError's description, or for a platform
// failure the system's message and the path ("Permission denied: /root/x").
std::string userMessage(const std::exception& error);

} // namespace kiv
