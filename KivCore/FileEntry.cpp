#include "FileEntry.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace kiv {

namespace {

bool endsWithIgnoringCase(std::string_view text, std::string_view suffix)
{
    if (suffix.size() > text.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
        [](char s, char t) { return s == std::tolower(static_cast<unsigned char>(t)); });
}

} // namespace

FileEntry::Kind FileEntry::kindForRegularFile(std::string_view name)
{
    static constexpr std::array<std::string_view, 4> archiveSuffixes { ".tar.gz", ".tgz", ".zip", ".tar" };
    for (auto suffix : archiveSuffixes) {
        if (endsWithIgnoringCase(name, suffix)) return Kind::archive;
    }
    return Kind::regularFile;
}

} // namespace kiv

std::size_t std::hash<kiv::FileEntry>::operator()(const kiv::FileEntry& entry) const noexcept
{
    auto mix = [](std::size_t seed, std::size_t value) {
        return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
    };
    std::size_t seed = std::hash<std::string> {}(entry.id);
    seed = mix(seed, std::hash<std::string> {}(entry.name));
    seed = mix(seed, static_cast<std::size_t>(entry.kind));
    seed = mix(seed, std::hash<std::int64_t> {}(entry.size));
    if (entry.modificationDate)
        seed = mix(seed, std::hash<std::int64_t> {}(entry.modificationDate->time_since_epoch().count()));
    if (entry.permissions) seed = mix(seed, std::hash<std::string> {}(*entry.permissions));
    return mix(seed, entry.isMarked ? 1 : 0);
}
