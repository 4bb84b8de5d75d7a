#pragma once

#include "files/TrashedItem.h"
#include "jobs/Job.h"
#include "trash/Trash.h"

#include <string>
#include <vector>

namespace kiv {

// Moves items to the trash one after another; a cancel stops it between items. An item whose
// file system has no trash it may use stays where it is and is listed apart, so the permanent
// delete can be offered for it as a choice of its own; any other failure is asked about.
class TrashJob : public Job
{
public:
    // Moves the items at the absolute `paths` through `trash`.
    TrashJob(std::vector<std::string> paths, Trash trash);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

    // Returns the items now in the trash, in order; read once the job has ended.
    const std::vector<TrashedItem>& trashed() const { return m_trashed; }
    // Returns the paths that have no trash; read once the job has ended.
    const std::vector<std::string>& refused() const { return m_refused; }
    // Returns why the last refused path has no trash, "" when none was refused.
    const std::string& refusal() const { return m_refusal; }

private:
    std::vector<std::string> m_paths;
    Trash m_trash;
    std::vector<TrashedItem> m_trashed;
    std::vector<std::string> m_refused;
    std::string m_refusal;
};

} // namespace kiv
