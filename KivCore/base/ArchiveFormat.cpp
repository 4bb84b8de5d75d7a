#include "base/ArchiveFormat.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace kiv::ArchiveFormat {

namespace {

// What the archive library reads, in lower case; the common ones first, as the user meets them.
constexpr std::array<std::string_view, 22> suffixes { ".zip", ".tar", ".tar.gz", ".tgz", ".tar.bz2", ".tbz2",
    ".tbz", ".tar.xz", ".txz", ".tar.zst", ".tzst", ".tar.lz4", ".7z", ".rar", ".iso", ".cpio", ".deb",
    ".cab", ".jar", ".apk", ".xar", ".lzh" };

// The longest suffix: only this many bytes at the end of a name can matter.
constexpr std::size_t longestSuffix = std::max_element(
    suffixes.begin(), suffixes.end(), [](auto a, auto b) { return a.size() < b.size(); }) -> size();

} // namespace

bool isArchiveName(std::string_view fileName)
{
    std::string tail(fileName.substr(fileName.size() - std::min(fileName.size(), longestSuffix)));
    std::transform(tail.begin(), tail.end(), tail.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::any_of(suffixes.begin(), suffixes.end(),
        [&](std::string_view suffix) { return std::string_view(tail).ends_with(suffix); });
}

std::string suffixList(std::string_view separator)
{
    std::string list;
    for (std::string_view suffix : suffixes) {
        if (!list.empty())
            list += separator;
        list += suffix;
    }
    return list;
}

} // namespace kiv::ArchiveFormat
