#pragma once

#include "jobs/Job.h"

#include <string>
#include <vector>

namespace kiv {

// Deletes items with everything in them, one item after another (TreeRemoval), from the start: the
// count of what there is runs beside the work (SideCount), and the progress has a total once it
// lands. A path naming a link removes the link, with or without a trailing "/".
class DeleteJob : public Job
{
public:
    // Deletes the items at `paths`.
    explicit DeleteJob(std::vector<std::string> paths);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

private:
    std::vector<std::string> m_paths;
};

} // namespace kiv
