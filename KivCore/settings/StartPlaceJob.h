#pragma once

#include "jobs/Job.h"
#include "settings/StartPaths.h"
#include "settings/StartPlace.h"

#include <vector>

namespace kiv {

// Looks at the paths given to the program (StartPlace::of) as a job: a path on a dead network
// mount holds up this job alone, never the window, which shows at once.
class StartPlaceJob : public Job
{
public:
    explicit StartPlaceJob(StartPaths paths);

    std::string title() const override { return "Start"; }
    // "Look at /mnt/photos".
    std::string description() const override;
    // Changes nothing.
    JobFootprint footprint() const override { return {}; }
    JobOutcome run(JobControl& control) override;

    // Returns where each panel opens, from the left, once completed.
    const std::vector<StartPlace>& places() const { return m_places; }

private:
    StartPaths m_paths;
    std::vector<StartPlace> m_places;
};

} // namespace kiv
