#include "base/FileEntry.h"

#include "base/HashMix.h"
#include "base/ArchiveFormat.h"

namespace kiv {

FileEntry::Kind FileEntry::kindForRegularFile(std::string_view name)
{
    return ArchiveFormat::isArchiveName(name) ? Kind::archive : Kind::regularFile;
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
