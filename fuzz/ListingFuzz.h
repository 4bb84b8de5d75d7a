#pragma once

#include "ArchiveListingParser.h"
#include "FuzzCheck.h"

#include <functional>

// The checks both listing fuzzers share: a listing parsed whole and parsed in pieces gives the
// same entries, and every entry comes from its own line, in listing order.
namespace kiv::fuzz {

// Feeds `listing` in pieces of 1 to 22 bytes, with an empty piece now and then; the lengths come
// from the listing's own bytes, so every input cuts its lines in other places.
inline std::vector<ArchiveRawEntry> parsedInPieces(
    std::string_view listing, ArchiveListingParser::Layout layout)
{
    ArchiveListingParser parser(layout);
    for (std::size_t i = 0; i < listing.size();) {
        auto length = static_cast<unsigned char>(listing[i]) * 7u % 23u;
        if (length == 0)
            parser.append({});
        length = std::min<std::size_t>(std::max(length, 1u), listing.size() - i);
        parser.append(listing.substr(i, length));
        i += length;
    }
    return parser.finish();
}

// Parses `listing` both ways and checks each entry against the line it must come from:
// `fromLine(line, entry)` says whether `entry` can be the parse of `line`. Returns the entries.
inline std::vector<ArchiveRawEntry> checkedListing(std::string_view listing,
    ArchiveListingParser::Layout layout,
    const std::function<bool(std::string_view, const ArchiveRawEntry&)>& fromLine)
{
    auto whole = layout == ArchiveListingParser::Layout::zip ? ArchiveListingParser::parseZipListing(listing)
                                                             : ArchiveListingParser::parseTarListing(listing);
    require(parsedInPieces(listing, layout) == whole, "parsing in pieces differs from parsing whole");
    auto lines = nonEmptyLines(listing);
    std::size_t line = 0;
    for (const auto& entry : whole) {
        require(!entry.path.empty(), "entry with an empty path");
        require(
            !entry.dateString.empty() && entry.dateString.front() != ' ' && entry.dateString.back() != ' ',
            "date text empty or padded", entry.dateString);
        while (line < lines.size() && !fromLine(lines[line], entry))
            ++line;
        require(line < lines.size(), "entry matches no later line of the listing", entry.path);
        ++line;
    }
    return whole;
}

} // namespace kiv::fuzz
