#pragma once

#include "history/OperationRecord.h"
#include "jobs/Job.h"

#include <memory>

namespace kiv {

class TransferReport;

// A copy, move, rename or extraction whose end goes into the history: runs the work, then, still on the
// job's thread, turns what the work reports it did into a record, taking each new item's
// snapshot then. A cancelled or partly failed job records just what it did.
class RecordedJob : public Job
{
public:
    // Runs `work`, whose `report` (owned by `work`) says what it did, recorded as `kind` in `place`
    // (OperationRecord::place; this machine's disk when null).
    RecordedJob(std::shared_ptr<Job> work, const TransferReport& report, OperationRecord::Kind kind,
        std::shared_ptr<const Door> place = nullptr);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

    // Returns the record of the run, leaving an empty one; call once the job has ended.
    OperationRecord takeRecord();

private:
    void record();

    std::shared_ptr<Job> m_work;
    const TransferReport& m_report;
    OperationRecord m_record;
};

} // namespace kiv
