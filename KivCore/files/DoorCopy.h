#pragma once

#include "base/FileEntry.h"
#include "jobs/ConflictAnswers.h"
#include "jobs/ItemFailures.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kiv {

class Door;
class JobControl;
class TransferReport;
struct ItemInfo;

// Copies items from one place into a folder of another, each reached through its door: a folder
// of this machine, the inside of an archive, a folder on a server, whichever two they are. A file
// goes to a temporary name beside its target and takes its name only once whole, with its
// permission bits from the first byte on, so a cancelled or failed copy, or a lost connection,
// never leaves a part of it under the real name and never shows a private file's bytes to more
// people. Links are copied as links, never followed, and a folder is filled only when the copy made
// it or a folder (not a link to one) is there, so nothing a place lists makes the copy write
// outside its target: each door lists names that stand for one item of their folder (an
// archive's ".." steps read "(..)", a server's "/" a look-alike).
class DoorCopy
{
public:
    // Copies from `from` into places of `to`, asking and counting on `control`, and notes in
    // `report` what it made anew (not what replaced a file).
    DoorCopy(std::shared_ptr<const Door> from, std::shared_ptr<const Door> to, JobControl& control,
        TransferReport& report);

    // Adds the items and bytes below `path` on the source door to the job's totals; the listings
    // read are kept for copy(), which so lists each folder once.
    void count(const std::string& path);
    // Copies the item `path` on the source door (a file, link or whole folder) into the folder
    // `targetFolder` on the target door. Failures of single items are asked about (Retry, Skip,
    // Cancel); throws JobCancelled.
    void copy(const std::string& path, const std::string& targetFolder);

    // How many items were skipped, and the last failure's text.
    const ItemFailures& failures() const { return m_failures; }
    // Returns how many items the copy left out so far: skipped on a failure or on a taken name.
    int leftOut() const { return m_failures.skipped() + m_conflicts.skipped(); }

private:
    std::vector<FileEntry> rowsOf(const std::string& folder);
    void copyEntry(const std::string& path, const std::string& targetPath);
    void copyFolder(const std::string& path, const std::string& targetPath, const ItemInfo& info);
    // Makes the folder `targetPath`, or takes the folder already there; false when it is skipped.
    bool enter(const std::string& path, const std::string& targetPath, bool& made);
    void copyFile(const std::string& path, const std::string& targetPath, const ItemInfo& info);
    void copyLink(const std::string& path, const std::string& targetPath, const ItemInfo& info);
    // Where a file goes: `targetPath`, a free name beside it or nowhere (skipped); `replacing` when
    // it takes the place of the file there.
    std::optional<std::string> targetFor(
        const std::string& path, const std::string& targetPath, const ItemInfo& info, bool& replacing);
    void sendFile(const std::string& path, const std::string& target, const ItemInfo& info, bool replacing);
    ItemInfo facts(const std::string& path) const;
    std::string shown(const std::string& path) const;

    std::shared_ptr<const Door> m_from;
    std::shared_ptr<const Door> m_to;
    JobControl& m_control;
    ConflictAnswers m_conflicts;
    ItemFailures m_failures;
    TransferReport& m_report;
    std::map<std::string, std::vector<FileEntry>> m_listings; // rows counted, not yet copied (no "..")
};

} // namespace kiv
