#pragma once

#include "FuzzCheck.h"
#include "archives/ArchiveListingParser.h"

#include <functional>

// The checks both listing fuzzers share: a listing parsed whole, in pieces or line by line gives
// the same entries, at most one a line.
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

using EntryCheck = std::function<void(std::string_view line, const ArchiveRawEntry& entry)>;

// Parses `listing` whole, in pieces and line by line, which must all agree, runs the common
// checks and then `check` on every entry with the line it came from.
inline void checkListing(
    std::string_view listing, ArchiveListingParser::Layout layout, const EntryCheck& check)
{
    auto parse = [layout](std::string_view text) {
        return layout == ArchiveListingParser::Layout::zip ? ArchiveListingParser::parseZipListing(text)
                                                           : ArchiveListingParser::parseTarListing(text);
    };
    auto [entries, lines] = itemsWithTheirLines(listing, parse, std::equal_to<ArchiveRawEntry> {});
    require(parsedInPieces(listing, layout) == entries, "parsing in pieces differs from parsing whole");
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& entry = entries[i];
        require(!entry.path.empty(), "entry with an empty path");
        require(
            !entry.dateString.empty() && entry.dateString.front() != ' ' && entry.dateString.back() != ' ',
            "date text empty or padded", entry.dateString);
        check(lines[i], entry);
    }
}

} // namespace kiv::fuzz
