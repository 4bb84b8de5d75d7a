#include "files/ArchiveFormat.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace kiv::ArchiveFormat {

namespace {

struct Suffix
{
    std::string_view text;
    Kind kind;
};

constexpr std::array<Suffix, 4> suffixes { { { ".zip", Kind::zip }, { ".tar", Kind::plainTar },
    { ".tar.gz", Kind::gzippedTar }, { ".tgz", Kind::gzippedTar } } };

// No suffix is longer, so only this many bytes at the end of a name can matter.
constexpr std::size_t longestSuffix = 7;

} // namespace

std::optional<Kind> of(std::string_view fileName)
{
    std::string tail(fileName.substr(fileName.size() - std::min(fileName.size(), longestSuffix)));
    std::transform(tail.begin(), tail.end(), tail.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const Suffix& suffix : suffixes) {
        if (std::string_view(tail).ends_with(suffix.text))
            return suffix.kind;
    }
    return std::nullopt;
}

std::string suffixList(std::string_view separator)
{
    std::string list;
    for (const Suffix& suffix : suffixes) {
        if (!list.empty())
            list += separator;
        list += suffix.text;
    }
    return list;
}

} // namespace kiv::ArchiveFormat
