#pragma once

#include "jobs/Job.h"
#include "quickview/QuickSummary.h"

#include <string>

namespace kiv {

// Makes the quick view's summary of one item on a worker (QuickSummary::of): a folder's size
// or an archive's members may take long, and a slow mount may stall even a small read.
class QuickViewJob : public Job
{
public:
    // Summarizes the item at `path`.
    explicit QuickViewJob(std::string path);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

    // Returns the summary; complete once run() has returned completed.
    const QuickSummary& summary() const { return m_summary; }

private:
    std::string m_path;
    QuickSummary m_summary;
};

} // namespace kiv
