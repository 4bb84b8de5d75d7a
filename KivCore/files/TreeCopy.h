#pragma once

#include <string>

// Copies files, links and whole folders the way a careful user would by hand: data,
// permission bits and modification times kept, links copied as links, special files
// recreated (never opened), nothing existing ever replaced.
namespace kiv::TreeCopy {

// Copies `from` to the exact path `to`, which must not exist. On failure the error (system
// message + the path that failed) is thrown and whatever this call created is removed again.
void copyNew(const std::string& from, const std::string& to);

} // namespace kiv::TreeCopy
