#pragma once

#include "archives/ArchiveRawEntry.h"

#include <string>
#include <vector>

namespace kiv {

class JobControl;
struct TransferSession;

// Reads archives of every format the archive library knows: lists their members (ArchiveTree
// arranges them as folders) and extracts members or whole archives. Stateless;
// instances are interchangeable, and any thread may use one.
class ArchiveService
{
public:
    // What extract() takes out: one member, or a folder with its whole subtree.
    enum class Member
    {
        file,
        folder,
    };

    // The archive's members in the archive's order, names as stored but made safe
    // (ArchiveMemberPath::safe; the root itself left out). Throws the platform error when the
    // file cannot be opened, KivError::operationFailed naming the archive and the reason when it
    // is not a regular file, is damaged or no format reads it. With a `control`, counts the members
    // read into its progress and throws JobCancelled once it is cancelled. With a `damage`, an
    // archive damaged after its first member (cut short, a header stepped over) gives the members
    // read, and `damage` says where it broke ("" when nothing did).
    std::vector<ArchiveRawEntry> listRawEntries(
        const std::string& archivePath, JobControl* control = nullptr, std::string* damage = nullptr) const;

    // Extracts the member `internalEntryPath` (a folder with its whole subtree when `member` is a
    // folder) into `to` under its own name (ArchiveExtraction), merging into folders that exist
    // there; a taken name is a question of `session`, which also counts what was placed. Creates
    // `to` first; throws the platform error when it cannot, KivError::operationFailed with the
    // archive library's reason when the archive is damaged or the member missing or encrypted,
    // and JobCancelled once the session's job is cancelled.
    void extract(const std::string& archivePath, const std::string& internalEntryPath, Member member,
        const std::string& to, TransferSession& session) const;

    // Extracts one member into `to`, a folder of its own that nothing else writes, so there is
    // nothing to ask; throws as the other extract() does.
    void extract(const std::string& archivePath, const std::string& internalEntryPath, Member member,
        const std::string& to) const;

    // Extracts every member below `to`, as extract() does.
    void extractAll(const std::string& archivePath, const std::string& to, TransferSession& session) const;
};

} // namespace kiv
