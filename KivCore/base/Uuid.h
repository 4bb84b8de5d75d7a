#pragma once

#include <string>

// Random identifiers for things that need one of their own.
namespace kiv::Uuid {

// A new random (version 4) UUID in its usual text form, upper-case hex:
// "E621E1F8-C36C-495A-93FC-0C247A3E6E5F". Draws on the system's random source.
std::string randomString();

} // namespace kiv::Uuid
