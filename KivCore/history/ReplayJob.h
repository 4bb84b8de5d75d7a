#pragma once

#include "history/OperationRecord.h"
#include "history/OperationReplay.h"
#include "jobs/Job.h"
#include "trash/Trash.h"

namespace kiv {

// Undoing, or doing again, one recorded operation as a job. It first checks that the files are
// still as the operation left them; when they are not it fails, saying what differs, with
// nothing touched. Otherwise it replays the items, the last first for an undo, and a cancel
// stops it between items; the items of a rename go as one set (RenameSetJob).
class ReplayJob : public Job
{
public:
    using Direction = OperationReplay::Direction;

    // Replays `record` in `direction`, trashed items going back and forth through `trash`.
    ReplayJob(OperationRecord record, Direction direction, Trash trash);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

    // Returns which way it replays.
    Direction direction() const { return m_direction; }
    // Returns the items replayed so far, in the record's order (a redone item as it now is).
    OperationRecord& replayed() { return m_replayed; }
    // Returns the items not replayed (all of them before a run or after a refusal).
    OperationRecord& remaining() { return m_remaining; }

private:
    JobOutcome replayAll(JobControl& control);
    JobOutcome replayRenames(JobControl& control);

    OperationRecord m_remaining;
    OperationRecord m_replayed;
    Direction m_direction;
    Trash m_trash;
    std::string m_what; // the record's description, as it was before any item moved
};

} // namespace kiv
