#include "FileEntry.h"

#include <array>
#include <cctype>

namespace kiv {

FileEntry::Kind FileEntry::kindForRegularFile(std::string_view name)
{
    // Only the last seven bytes can matter (".tar.gz" is the longest suffix).
    std::string tail(name.substr(name.size() > 7 ? name.size() - 7 : 0));
    for (auto& c : tail)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static constexpr std::array<std::string_view, 4> archiveSuffixes { ".tar.gz", ".tgz", ".zip", ".tar" };
    for (auto suffix : archiveSuffixes) {
        if (std::string_view(tail).ends_with(suffix))
            return Kind::archive;
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
    if (entry.permissions)
        seed = mix(seed, std::hash<std::string> {}(*entry.permissions));
    return mix(seed, entry.isMarked ? 1 : 0);
}
