#include "files/FileEntry.h"

#include "base/HashMix.h"

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
    using kiv::hashMix;
    std::size_t seed = std::hash<std::string> {}(entry.id);
    seed = hashMix(seed, entry.name);
    seed = hashMix(seed, entry.kind);
    seed = hashMix(seed, entry.size);
    seed = hashMix(seed, entry.modificationDate ? entry.modificationDate->time_since_epoch().count() : 0);
    return hashMix(seed, entry.permissions.value_or(""));
}
