#pragma once

#include "attributes/LinkText.h"
#include "history/OperationRecord.h"
#include "jobs/Job.h"

#include <string>

namespace kiv {

// Makes one symbolic link as a job (a folder on a slow mount may take its time), never in place of
// anything, and records it for undo.
class LinkJob : public Job
{
public:
    // Makes the link `link` (an absolute path) to the item at `target`, in `form`.
    LinkJob(std::string target, std::string link, LinkText::Form form);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    // Fails, with nothing made, when the target has gone or anything is at the link's path.
    JobOutcome run(JobControl& control) override;

    // Returns the record of the link made, leaving an empty one; call once the job has ended.
    OperationRecord takeRecord();

private:
    std::string m_target;
    std::string m_link;
    LinkText::Form m_form;
    OperationRecord m_record { OperationRecord::Kind::link, {} };
};

} // namespace kiv
