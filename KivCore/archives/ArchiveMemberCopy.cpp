#include "archives/ArchiveMemberCopy.h"

#include "archives/ArchiveService.h"
#include "base/Uuid.h"
#include "files/PathString.h"

#include <filesystem>

namespace kiv::ArchiveMemberCopy {

std::string make(
    const ArchiveService& archives, const std::string& archivePath, const std::string& memberPath)
{
    // A folder of its own for every copy, so two copies of one member never meet.
    const std::string folder
        = (std::filesystem::temp_directory_path() / ("kiv-mac-" + Uuid::randomString())).string();
    archives.extract(archivePath, memberPath, ArchiveService::Member::file, folder);
    return PathString::appendingComponent(folder, PathString::lastComponent(memberPath));
}

} // namespace kiv::ArchiveMemberCopy
