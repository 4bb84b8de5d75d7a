#pragma once

#include "jobs/Job.h"
#include "sync/FolderComparison.h"

#include <string>
#include <vector>

namespace kiv {

// Compares two folder trees for a synchronization as a job (FolderComparison); the differences
// are there to take once it has ended.
class FolderCompareJob : public Job
{
public:
    // Compares the trees at `leftRoot` and `rightRoot` in `mode`.
    FolderCompareJob(std::string leftRoot, std::string rightRoot, FolderComparison::Mode mode);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

    // Returns the differences found; empty before the run and after a cancel or failure.
    const std::vector<SyncItem>& items() const { return m_items; }

private:
    std::string m_leftRoot;
    std::string m_rightRoot;
    FolderComparison::Mode m_mode;
    std::vector<SyncItem> m_items;
};

} // namespace kiv
