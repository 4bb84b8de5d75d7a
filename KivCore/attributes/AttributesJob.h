#pragma once

#include "attributes/AttributeChange.h"
#include "history/OperationRecord.h"
#include "jobs/Job.h"

#include <string>
#include <vector>

namespace kiv {

// Changes the attributes of items, and where asked of what is inside marked folders, as one job:
// first it lists the items (links never followed), then changes them, the deepest first, so that
// a folder loses the right to enter it only once what is inside is done. Each item is read just
// before it changes and what it had is recorded for undo; a refusal (another user's file) is a
// question: Retry, Skip, Skip all or Cancel.
class AttributesJob : public Job
{
public:
    // Makes `change` to the items at `paths`.
    AttributesJob(std::vector<std::string> paths, AttributeChange change);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

    // Returns the record of what the run changed, leaving an empty one; call once the job has ended.
    OperationRecord takeRecord();

private:
    std::vector<std::string> itemsToChange(JobControl& control, std::string& lastRefusal) const;
    void change(const std::string& path);

    std::vector<std::string> m_paths;
    AttributeChange m_change;
    OperationRecord m_record { OperationRecord::Kind::attributes, {} };
};

} // namespace kiv
