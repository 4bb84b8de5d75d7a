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

using EntryMatch = std::function<bool(std::string_view line, const ArchiveRawEntry& entry)>;
using EntryCheck = std::function<void(std::string_view line, const ArchiveRawEntry& entry)>;

// Parses `listing` both ways, finds each entry's line with `isFrom` (see sourceLines) and runs
// the common checks and then `check` on every entry with its line.
inline void checkListing(std::string_view listing, ArchiveListingParser::Layout layout,
    const EntryMatch& isFrom, const EntryCheck& check)
{
    auto whole = layout == ArchiveListingParser::Layout::zip ? ArchiveListingParser::parseZipListing(listing)
                                                             : ArchiveListingParser::parseTarListing(listing);
    require(parsedInPieces(listing, layout) == whole, "parsing in pieces differs from parsing whole");
    auto lines = sourceLines(whole, listing, isFrom);
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const auto& entry = whole[i];
        require(!entry.path.empty(), "entry with an empty path");
        require(
            !entry.dateString.empty() && entry.dateString.front() != ' ' && entry.dateString.back() != ' ',
            "date text empty or padded", entry.dateString);
        check(lines[i], entry);
    }
}

} // namespace kiv::fuzz
