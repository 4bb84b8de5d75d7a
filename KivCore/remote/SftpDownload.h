#pragma once

#include "jobs/ConflictAnswers.h"
#include "jobs/ItemFailures.h"
#include "remote/SftpSession.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kiv {

class JobControl;

// Copies items of a server into a local folder. Every local item is made relative to its open
// folder, never through a link, and a name from the server is used only when it can be a file
// name (RemoteName), so nothing a server lists can make the copy write outside the target folder.
// A file is written under a temporary name and renamed once whole: a cancelled or failed copy
// leaves no part of it.
class SftpDownload
{
public:
    SftpDownload(std::shared_ptr<SftpSession> session, JobControl& control);

    // Adds the items and bytes below `remotePath` to the job's totals; the listings are kept for copy().
    void count(const std::string& remotePath);
    // Copies the item `remotePath` (a file, link or whole folder) into the local folder `folderPath`.
    // Failures of single items are asked about (Retry, Skip, Cancel); throws JobCancelled.
    void copy(const std::string& remotePath, const std::string& folderPath);

    // How many items were skipped, and the last failure's text.
    const ItemFailures& failures() const { return m_failures; }
    // Returns how many items the copy left out so far: skipped on a failure or on a taken name.
    int leftOut() const { return m_failures.skipped() + m_conflicts.skipped(); }

private:
    void countEntry(const std::string& path, const SftpAttributes& attributes);
    void copyEntry(const std::string& path, const SftpEntry& entry, int folderFd);
    void copyFolder(const std::string& path, const SftpEntry& entry, int folderFd);
    void copyFile(const std::string& path, const SftpEntry& entry, int folderFd);
    void copyLink(const std::string& path, const SftpEntry& entry, int folderFd);
    void receiveInto(const std::string& path, const SftpEntry& entry, int fd);
    // The name the item is to get in `folderFd`, or nothing to skip it; asks about a taken name.
    std::optional<std::string> targetName(const std::string& path, const SftpEntry& entry, int folderFd,
        bool& replacing);
    std::vector<SftpEntry> entriesOf(const std::string& path);

    std::shared_ptr<SftpSession> m_session;
    JobControl& m_control;
    ConflictAnswers m_conflicts;
    ItemFailures m_failures;
    std::map<std::string, std::vector<SftpEntry>> m_listings;
};

} // namespace kiv
