// Fuzzes the tar listing parser over both layouts it reads: any text parses without fault,
// whole, in pieces or line by line. A nine-field line gives a three-word date, a GNU line a two-word date. A
// nine-field line without escapes ends in its name as printed, unless it is a link's line,
// which alone loses the link target after its name.
#include "ListingFuzz.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace kiv;
using namespace kiv::fuzz;

namespace {

bool isNineFieldDate(const ArchiveRawEntry& entry)
{
    return std::count(entry.dateString.begin(), entry.dateString.end(), ' ') == 2;
}

bool hasEscapes(std::string_view line)
{
    return line.find('\\') != std::string_view::npos;
}

// The text a link's line prints between its name and its target, "" for other lines.
std::string_view linkMarker(std::string_view line)
{
    auto type = line[line.find_first_not_of(' ')];
    return type == 'l' ? " -> " : type == 'h' ? " link to " : "";
}

// A nine-field line without escapes ends in its name, except that a link's target may follow it.
bool endsInName(std::string_view line, const ArchiveRawEntry& entry)
{
    auto marker = linkMarker(line);
    return line.ends_with(entry.path)
        || (!marker.empty() && line.find(entry.path + std::string(marker)) != std::string_view::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view listing(reinterpret_cast<const char*>(data), size);
    checkListing(listing, ArchiveListingParser::Layout::tar, [](std::string_view line, const auto& entry) {
        auto spaces = std::count(entry.dateString.begin(), entry.dateString.end(), ' ');
        require(spaces == 1 || spaces == 2, "tar date text is neither two nor three words", entry.dateString);
        if (isNineFieldDate(entry) && !hasEscapes(line)) {
            require(entry.path.front() != ' ', "name starts with a space", entry.path);
            require(endsInName(line, entry), "name cut short", entry.path);
            auto marker = linkMarker(line);
            require(marker.empty() || entry.path.find(marker) == std::string::npos,
                "a link's target left in its name", entry.path);
        }
    });
    return 0;
}
