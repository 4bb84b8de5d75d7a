#pragma once

#include <string>

namespace kiv {
class ArchiveService;
}

// A copy of one archive member on disk, for the viewer and the editor, which read real files, in
// a folder of its own (TemporaryCopy).
namespace kiv::ArchiveMemberCopy {

// Extracts the member `memberPath` of the archive at `archivePath` into a new copy folder and
// returns the copy's path (that folder, then the member's own name). The folder is left for the
// caller, whose viewer or editor opens the copy afterwards. Throws as ArchiveService::extract()
// does, leaving no folder behind.
std::string make(
    const ArchiveService& archives, const std::string& archivePath, const std::string& memberPath);

} // namespace kiv::ArchiveMemberCopy
