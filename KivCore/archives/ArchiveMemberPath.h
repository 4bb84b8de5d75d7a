#pragma once

#include <string>
#include <string_view>

// Member names as the program shows and writes them. Names come from whoever made the archive;
// they may try to climb out of the folder they are extracted to.
namespace kiv::ArchiveMemberPath {

// What a ".." step in a stored name is shown and extracted as: a visible name that climbs nowhere.
inline constexpr std::string_view parentStepName = "(..)";

// Returns the stored name `stored` made safe: leading "/" and "./", empty and "." steps dropped,
// ".." steps renamed to parentStepName, and "/" at the end when `isFolder`. Returns "" when
// nothing remains (the archive's root itself).
std::string safe(std::string_view stored, bool isFolder);

} // namespace kiv::ArchiveMemberPath
