#pragma once

#include "ArchiveRawEntry.h"

#include <string_view>
#include <vector>

// Turns the verbose tables of contents printed by unzip and tar into raw entries, line by line.
// Lines that do not fit the layout are skipped silently; a bad line never stops the parse.
namespace kiv::ArchiveListingParser {

// Entries of an "unzip -l" listing: size, date, time, then the name as the rest of the line
// (inner runs of spaces kept). The header, rules and totals lines do not start with a number.
std::vector<ArchiveRawEntry> parseZipListing(std::string_view listing);

// Entries of a "tar -tvf" listing in either of two layouts: mode, links, owner, group, size,
// month, day, time-or-year, name; or GNU tar's mode, owner/group, size, ISO date, time, name
// (whose escapes such as "\\" and "\303" are undone). A link's " -> target" is cut off.
std::vector<ArchiveRawEntry> parseTarListing(std::string_view listing);

} // namespace kiv::ArchiveListingParser
