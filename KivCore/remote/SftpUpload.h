#pragma once

#include "jobs/ConflictAnswers.h"
#include "jobs/ItemFailures.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kiv {

class Door;
class JobControl;
class SftpSession;
class TransferReport;
struct ItemInfo;

// Copies items read through a door (the local disk, the inside of an archive) into a folder of a
// server. A file goes to a temporary name beside its target and is renamed once whole, so a
// cancelled or failed copy, or a lost connection, never leaves a part of it under the real name;
// the temporary file is removed where the server still answers.
class SftpUpload
{
public:
    // Copies from `from` onto the server of `session`, asking and counting on `control`, and notes
    // in `report` what it made anew there (not what replaced a file).
    SftpUpload(std::shared_ptr<const Door> from, std::shared_ptr<SftpSession> session, JobControl& control,
        TransferReport& report);

    // Adds the items and bytes below `path` on the source door to the job's totals.
    void count(const std::string& path);
    // Copies the item `path` on the source door (a file, link or whole folder, links not followed)
    // into the server's folder `remoteFolder`. Failures of single items are asked about; throws
    // JobCancelled.
    void copy(const std::string& path, const std::string& remoteFolder);

    // How many items were skipped, and the last failure's text.
    const ItemFailures& failures() const { return m_failures; }
    // Returns how many items the copy left out so far: skipped on a failure or on a taken name.
    int leftOut() const { return m_failures.skipped() + m_conflicts.skipped(); }

private:
    void countFolder(const std::string& path);
    void copyEntry(const std::string& path, const std::string& remotePath);
    void copyFolder(const std::string& path, const std::string& remotePath, const ItemInfo& info);
    void copyFile(const std::string& path, const std::string& remotePath, const ItemInfo& info);
    // Where a file goes: `remotePath`, a free name beside it or nowhere (skipped); `replacing` when
    // it takes the place of the file there.
    std::optional<std::string> targetFor(
        const std::string& path, const std::string& remotePath, const ItemInfo& info, bool& replacing);
    void sendFile(const std::string& path, const std::string& temporary, std::optional<std::uint32_t> mode);
    ItemInfo facts(const std::string& path) const;
    std::string shown(const std::string& path) const;
    std::string temporaryBeside(const std::string& remotePath) const;
    bool exists(const std::string& remotePath);

    std::shared_ptr<const Door> m_from;
    std::shared_ptr<SftpSession> m_session;
    JobControl& m_control;
    ConflictAnswers m_conflicts;
    ItemFailures m_failures;
    TransferReport& m_report;
};

} // namespace kiv
