#pragma once

#include "archives/ArchiveReader.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct archive;
struct archive_entry;

namespace kiv {

class TransferReport;
struct TransferSession;

// Takes members out of one archive into a folder through the archive library. A member lands
// under its own name ("docs/subway.txt" becomes "subway.txt" in the folder, a folder "docs/sub"
// becomes "sub" with everything below it); the whole archive keeps its paths. Every file or link
// is made beside its target under a temporary name and put in place once complete, so a failure
// or a cancel leaves no half file and replaces nothing; a member whose data the library finds
// damaged (a bad checksum, cut short) fails, and a retry reads it again. Nothing is written outside the
// folder: member paths are made safe and the library refuses to write through links.
class ArchiveExtraction
{
public:
    // What is taken out: one member, a folder member with its subtree, or all of them.
    struct Selection
    {
        std::string member; // the member's path as listed ("" for all), without "/" at the end
        bool isFolder = false;
    };

    // Extracts into `destination` (made when missing). With a `session` taken names and failures
    // are its questions and progress goes to its control; without one (a folder of its own that
    // nothing else writes) a taken name throws KivError::alreadyExists and a failure throws.
    ArchiveExtraction(const std::string& destination, TransferSession* session);
    ~ArchiveExtraction();
    ArchiveExtraction(const ArchiveExtraction&) = delete;
    ArchiveExtraction& operator=(const ArchiveExtraction&) = delete;

    // Extracts `selection` of the archive at `archivePath`. Throws as ArchiveReader does, the
    // platform error when the destination cannot be made, KivError::operationFailed when the
    // member is not in the archive or is encrypted, and JobCancelled once the job is cancelled.
    void extract(const std::string& archivePath, const Selection& selection);

private:
    struct Free
    {
        void operator()(archive* writing) const;
    };

    // Where a file or link goes, and whether it replaces what is there.
    struct Place
    {
        std::string path;
        bool replace = false;
    };

    bool isSelected(const std::string& member) const;
    // Steps to the next member, or nullptr after the last; `found` once the selection was met.
    archive_entry* nextMember(ArchiveReader& reader, bool found) const;
    // The session's report of what was made anew, or null without a session.
    TransferReport* report() const;
    void extractMember(ArchiveReader& reader, archive_entry* entry, const std::string& member);
    // Counts one member placed (made, or a folder merged into) in the session's tally.
    void countPlaced() const;
    // Runs `step`; with a session a failure is its question (retry, skip), else it is thrown.
    // Returns whether the step succeeded (false: skipped).
    bool attempt(const std::function<void()>& step, const std::string& path);
    // Writes a file or link member at its place, a failure (damaged data) asked about; returns
    // whether it is there.
    bool writeMember(
        ArchiveReader& reader, archive_entry* entry, const std::string& member, const Place& place);
    // Points a hard link member at where the member it links to was written.
    void linkToWritten(archive_entry* entry) const;
    void makeFolder(archive_entry* entry, const std::string& relative, const std::string& target);
    // Where the member goes: `target`, a free name beside it, or nowhere (skipped).
    std::optional<Place> placement(archive_entry* entry, const std::string& member,
        const std::string& relative, const std::string& target);
    void writeBeside(ArchiveReader& reader, archive_entry* entry, const Place& place);
    void put(const std::string& temporary, const Place& place);
    void writeEntry(archive_entry* entry, const std::string& path);
    void copyData(ArchiveReader& reader, const std::string& path);
    // Writes the data of hard links whose member was not taken out with them.
    void supplyLinkData();
    [[noreturn]] void failWriting(const std::string& path) const;

    TransferSession* m_session;
    std::unique_ptr<archive, Free> m_writer;
    std::string m_destination;
    std::string m_archivePath;
    Selection m_selection;
    std::string m_base; // the selection's folder inside the archive, ending in "/", or ""
    std::map<std::string, std::string> m_written; // member path -> where it was written
    std::multimap<std::string, Place> m_pendingLinks; // member path -> a link to it still to make
};

} // namespace kiv
