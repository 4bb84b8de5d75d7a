#include "archives/ArchiveMemberCopy.h"

#include "archives/ArchiveService.h"
#include "base/PathString.h"
#include "files/TemporaryCopy.h"

#include <filesystem>

namespace kiv::ArchiveMemberCopy {

std::string make(
    const ArchiveService& archives, const std::string& archivePath, const std::string& memberPath)
{
    // A folder of its own for every copy, so two copies of one member never meet.
    const std::string folder = TemporaryCopy::newFolder();
    try {
        archives.extract(archivePath, memberPath, ArchiveService::Member::file, folder);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        throw;
    }
    return PathString::appendingComponent(folder, PathString::lastComponent(memberPath));
}

} // namespace kiv::ArchiveMemberCopy
