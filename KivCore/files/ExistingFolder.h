#pragma once

#include <string>

// Finding where a panel can stand when its folder has gone.
namespace kiv::ExistingFolder {

// Returns `path` when it is a folder now, else its nearest ancestor that is ("/" at the last).
// REQUIRES: `path` is absolute.
std::string nearest(const std::string& path);

} // namespace kiv::ExistingFolder
