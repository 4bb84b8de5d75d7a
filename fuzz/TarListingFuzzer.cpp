// Fuzzes the tar listing parser over both layouts it reads: any text parses without fault,
// whole or in pieces. A nine-field line gives a three-word date, a GNU line a two-word date. A
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

// A nine-field line ends in the name, except that a link's target may follow it.
void checkNameEndsLine(std::string_view line, const ArchiveRawEntry& entry)
{
    auto type = line[line.find_first_not_of(' ')];
    std::string_view marker = type == 'l' ? " -> " : type == 'h' ? " link to " : "";
    if (marker.empty()) {
        require(line.ends_with(entry.path), "a name cut short", entry.path);
        return;
    }
    require(entry.path.find(marker) == std::string::npos, "a link's target left in its name", entry.path);
    require(
        line.ends_with(entry.path) || line.find(entry.path + std::string(marker)) != std::string_view::npos,
        "a link's name cut short", entry.path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view listing(reinterpret_cast<const char*>(data), size);
    auto isFrom = [](std::string_view line, const ArchiveRawEntry& entry) {
        auto dateStart = std::string_view(entry.dateString).substr(0, entry.dateString.find(' '));
        if (line.find(dateStart) == std::string_view::npos)
            return false;
        return !isNineFieldDate(entry) || hasEscapes(line) || line.find(entry.path) != std::string_view::npos;
    };
    checkListing(
        listing, ArchiveListingParser::Layout::tar, isFrom, [](std::string_view line, const auto& entry) {
            auto spaces = std::count(entry.dateString.begin(), entry.dateString.end(), ' ');
            require(
                spaces == 1 || spaces == 2, "tar date text is neither two nor three words", entry.dateString);
            if (isNineFieldDate(entry) && !hasEscapes(line)) {
                require(entry.path.front() != ' ', "name starts with a space", entry.path);
                checkNameEndsLine(line, entry);
            }
        });
    return 0;
}
