#pragma once

#include <string>
#include <string_view>

// The names the program takes for archives: a regular file whose name ends in one of these
// suffixes, in any case, opens like a folder. The one list of them: matching names and naming
// them to the user both read it. What the archive really holds is found out when it is read.
namespace kiv::ArchiveFormat {

// Returns whether `fileName` ends in an archive suffix (any case).
bool isArchiveName(std::string_view fileName);

// The suffixes in the order they are named to the user (".zip", ".tar", ".tar.gz", ...),
// joined by `separator`.
std::string suffixList(std::string_view separator);

} // namespace kiv::ArchiveFormat
