#pragma once

#include "files/ItemAttributes.h"
#include "jobs/Job.h"

#include <string>
#include <vector>

namespace kiv {

// Reads the attributes of the items the attributes dialog is to show, as a job: a folder on a
// dead mount holds up the job, never the window.
class AttributesReadJob : public Job
{
public:
    // Reads the items at `paths` (links as themselves) once run.
    explicit AttributesReadJob(std::vector<std::string> paths);

    std::string title() const override { return "Attributes"; }
    // "Read the attributes of a.txt", or of "3 items".
    std::string description() const override;
    // Changes nothing.
    JobFootprint footprint() const override { return {}; }
    // Fails with the first item that cannot be read.
    JobOutcome run(JobControl& control) override;

    // Returns the attributes read, in the order of the paths, once a run completed.
    const std::vector<ItemAttributes>& items() const { return m_items; }

private:
    std::vector<std::string> m_paths;
    std::vector<ItemAttributes> m_items;
};

} // namespace kiv
