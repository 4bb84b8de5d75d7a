#pragma once

#include "base/HashMix.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kiv {

// One member line of an archive listing, as the archive tool printed it. A plain value.
struct ArchiveRawEntry
{
    std::string path; // "/"-separated path inside the archive; folder members end in "/"
    std::int64_t size = 0; // uncompressed size in bytes
    std::string dateString; // the date column(s) as printed, e.g. "03-02-2024" or "Mar 2 09:15"

    bool operator==(const ArchiveRawEntry&) const = default;
};

} // namespace kiv

template <> struct std::hash<kiv::ArchiveRawEntry>
{
    std::size_t operator()(const kiv::ArchiveRawEntry& entry) const noexcept
    {
        auto seed = std::hash<std::string> {}(entry.path);
        seed = kiv::hashMix(seed, entry.size);
        return kiv::hashMix(seed, entry.dateString);
    }
};
