#pragma once

#include "history/OperationRecord.h"
#include "jobs/Job.h"
#include "sync/SyncItem.h"
#include "trash/Trash.h"

#include <string>
#include <vector>

namespace kiv {

class ItemFailures;

// Makes two folders alike as the user chose, item by item, as one job recorded as one operation.
// Before each item it checks that both sides are still as the comparison saw them; an item
// changed since is left as it is and named at the end. A copy onto an existing item is made
// beside it under a temporary name; the old item then goes to the trash and the copy takes its
// place, so nothing is lost and the undo brings the old one back. A deletion moves the item to
// the trash. A failure is a question (Retry, Skip, Skip all, Cancel); a cancel stops between items.
class SyncJob : public Job
{
public:
    // Carries out the actions of `items` between the folders `leftRoot` and `rightRoot`;
    // replaced and deleted items go to `trash`.
    SyncJob(std::string leftRoot, std::string rightRoot, std::vector<SyncItem> items, Trash trash);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

    // Returns the paths of the items left as they were because they changed since the comparison.
    const std::vector<std::string>& changedSince() const { return m_changedSince; }
    // Returns the record of what the run did, leaving an empty one; call once the job has ended.
    OperationRecord takeRecord();

private:
    bool attempt(const SyncItem& item, JobControl& control, ItemFailures& failures);
    bool stillAsCompared(const SyncItem& item) const;
    void carryOut(const SyncItem& item, JobControl& control);
    void copyOnto(const std::string& source, const std::string& target, JobControl& control);
    void copyInto(
        const std::string& source, const std::string& folder, const std::string& name, JobControl& control);
    [[noreturn]] void putBack(const TrashedItem& old, int error);
    std::string leftPath(const SyncItem& item) const;
    std::string rightPath(const SyncItem& item) const;

    std::string m_leftRoot;
    std::string m_rightRoot;
    std::vector<SyncItem> m_items;
    Trash m_trash;
    std::vector<std::string> m_changedSince;
    std::string m_partFailure; // the last copy that failed and was skipped when it asked
    OperationRecord m_record { OperationRecord::Kind::synchronize, {} };
};

} // namespace kiv
