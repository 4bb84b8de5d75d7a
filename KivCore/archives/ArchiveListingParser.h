#pragma once

#include "archives/ArchiveRawEntry.h"

#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// Turns the verbose tables of contents printed by unzip and tar into raw entries, line by line,
// also while the listing still arrives in pieces. Lines that do not fit the layout are skipped
// silently; a bad line never stops the parse.
class ArchiveListingParser
{
public:
    enum class Layout
    {
        // "unzip -l": size, date, time, then the name as the rest of the line (inner runs of
        // spaces kept). The header, rules and totals lines do not start with a number.
        zip,
        // "tar -tvf": mode, links, owner, group, size, month, day, time-or-year, name (bsdtar);
        // or GNU tar's mode, owner/group, size, ISO date, time, name. Escapes in the name such
        // as "\\" and "\303" are undone. A link keeps only its own name: a symbolic link's
        // " -> target" and a hard link's " link to target" are cut off; other names stay whole.
        tar,
    };

    explicit ArchiveListingParser(Layout layout);

    // Takes the next piece of the listing; pieces may split a line anywhere.
    void append(std::string_view bytes);

    // Parses what follows the last newline and hands over every entry, in listing order.
    std::vector<ArchiveRawEntry> finish();

    // The entries of a whole unzip listing.
    static std::vector<ArchiveRawEntry> parseZipListing(std::string_view listing);

    // The entries of a whole tar listing.
    static std::vector<ArchiveRawEntry> parseTarListing(std::string_view listing);

private:
    void parseLine(std::string_view line);

    Layout m_layout;
    std::string m_pendingLine;
    std::vector<ArchiveRawEntry> m_entries;
};

} // namespace kiv
