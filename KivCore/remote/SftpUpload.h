#pragma once

#include "jobs/ConflictAnswers.h"
#include "jobs/ItemFailures.h"

#include <cstdint>
#include <memory>
#include <string>

struct stat;

namespace kiv {

class JobControl;
class SftpSession;

// Copies local items into a folder of a server. A file goes to a temporary name beside its target
// and is renamed once whole, so a cancelled or failed copy, or a lost connection, never leaves a
// part of it under the real name; the temporary file is removed where the server still answers.
class SftpUpload
{
public:
    SftpUpload(std::shared_ptr<SftpSession> session, JobControl& control);

    // Adds the items and bytes below the local `localPath` to the job's totals.
    void count(const std::string& localPath);
    // Copies the local item `localPath` (a file, link or whole folder, links not followed) into the
    // server's folder `remoteFolder`. Failures of single items are asked about; throws JobCancelled.
    void copy(const std::string& localPath, const std::string& remoteFolder);
    // Writes the local file `localPath` over the server's file `remotePath` (which may not exist
    // yet) through a temporary name, with the permission bits `mode`: the old file stays whole
    // until the new one replaces it. Throws on failure.
    void replaceFile(const std::string& localPath, const std::string& remotePath, std::uint32_t mode);

    // How many items were skipped, and the last failure's text.
    const ItemFailures& failures() const { return m_failures; }
    // Returns how many items the copy left out so far: skipped on a failure or on a taken name.
    int leftOut() const { return m_failures.skipped() + m_conflicts.skipped(); }

private:
    void copyEntry(const std::string& localPath, const std::string& remotePath);
    void copyFolder(const std::string& localPath, const std::string& remotePath, const struct stat& info);
    void copyFile(const std::string& localPath, const std::string& remotePath, const struct stat& info);
    void sendFile(const std::string& localPath, const std::string& temporary, std::uint32_t mode);
    std::string temporaryBeside(const std::string& remotePath) const;
    bool exists(const std::string& remotePath);

    std::shared_ptr<SftpSession> m_session;
    JobControl& m_control;
    ConflictAnswers m_conflicts;
    ItemFailures m_failures;
};

} // namespace kiv
