// Fuzzes the unzip listing parser: any text parses without fault, whole, in pieces or line by
// line, and every entry is the tail of its own line with a one-word date from that line.
#include "ListingFuzz.h"

#include <cstddef>
#include <cstdint>

using namespace kiv;
using namespace kiv::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view listing(reinterpret_cast<const char*>(data), size);
    checkListing(listing, ArchiveListingParser::Layout::zip, [](std::string_view line, const auto& entry) {
        require(line.ends_with(entry.path) && line.find(entry.dateString) != std::string_view::npos,
            "name or date not taken from the line", entry.path);
        require(entry.path.front() != ' ', "name starts with a space", entry.path);
        require(
            entry.dateString.find(' ') == std::string::npos, "zip date text has a space", entry.dateString);
    });
    return 0;
}
