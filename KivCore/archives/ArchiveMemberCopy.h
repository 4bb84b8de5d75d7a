#pragma once

#include <string>

namespace kiv {
class ArchiveService;
}

// A copy of one archive member on disk, for the viewer and the editor, which read real files.
// Each copy lives in a folder of its own in the system's temporary folder, named "kiv-mac-", the
// id of the process that made it, "-" and a random UUID, so that leftovers can be told apart from
// the copies of a program still running.
namespace kiv::ArchiveMemberCopy {

// Extracts the member `memberPath` of the archive at `archivePath` into a new copy folder and
// returns the copy's path (that folder, then the member's own name). The folder is left for the
// caller, whose viewer or editor opens the copy afterwards. Throws as ArchiveService::extract()
// does, leaving no folder behind.
std::string make(
    const ArchiveService& archives, const std::string& archivePath, const std::string& memberPath);

// Removes the copy folders made by this process or by one that no longer runs; never throws.
// Called when the program starts and when it ends, once nothing shows this process's copies.
void removeUnused();

} // namespace kiv::ArchiveMemberCopy
