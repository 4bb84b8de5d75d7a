// Fuzzes the tar listing parser over both layouts it reads: any text parses without fault,
// whole or in pieces. A nine-field line gives a three-word date and the name before " -> ",
// found in its line as printed; a GNU line gives a two-word date (its name may be unescaped).
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view listing(reinterpret_cast<const char*>(data), size);
    auto fromLine = [](std::string_view line, const ArchiveRawEntry& entry) {
        auto dateStart = std::string_view(entry.dateString).substr(0, entry.dateString.find(' '));
        if (line.find(dateStart) == std::string_view::npos)
            return false;
        return !isNineFieldDate(entry) || line.find(entry.path) != std::string_view::npos;
    };
    for (const auto& entry : checkedListing(listing, ArchiveListingParser::Layout::tar, fromLine)) {
        auto spaces = std::count(entry.dateString.begin(), entry.dateString.end(), ' ');
        require(spaces == 1 || spaces == 2, "tar date text is neither two nor three words", entry.dateString);
        if (isNineFieldDate(entry)) {
            require(entry.path.front() != ' ', "name starts with a space", entry.path);
            require(entry.path.find(" -> ") == std::string::npos, "link target left in the name", entry.path);
            require(entry.path.find('\n') == std::string::npos, "name runs past its line", entry.path);
        }
    }
    return 0;
}
