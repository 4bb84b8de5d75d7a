#pragma once

#include "files/TransferReport.h"
#include "jobs/Job.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kiv {

class JobControl;

// Renames a set of items, each within its own folder, as one job, whatever the set's names do to
// each other: a name another item of the set leaves is taken only once it is free, and names that
// go round (a to b, b to a; a to b, b to c, c to a) pass one item through a temporary name. Nothing
// is ever replaced. The set falls into independent groups (a chain of names, or a ring); each group
// is renamed whole or not at all: a failure inside one puts its items back, then asks Retry / Skip /
// Cancel, and a cancel stops between groups, so no item is ever left under a temporary name.
class RenameSetJob : public Job
{
public:
    // One item: its path now and its path after, in the same folder.
    struct Rename
    {
        std::string from;
        std::string to;

        bool operator==(const Rename&) const = default;
    };

    // Renames `renames`. REQUIRES: each in one folder and changing its name, no two with one
    // `from` or one `to`, no item inside another.
    explicit RenameSetJob(std::vector<Rename> renames);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

    // Returns the renames done, each from its old to its new path (never a temporary name), for
    // undo; the reference lasts as long as the job.
    const TransferReport& report() const { return m_report; }
    // Returns the text of the last failure not mended by a retry, "" when none happened.
    const std::string& lastFailure() const { return m_lastFailure; }

private:
    // Renames in the order they must go; `ring` when the first goes through a temporary name.
    struct Group
    {
        std::vector<std::size_t> order;
        bool ring = false;
    };

    std::vector<Group> groups() const;
    void renameGroup(const Group& group);

    std::vector<Rename> m_renames;
    TransferReport m_report;
    std::string m_lastFailure;
};

} // namespace kiv
