#pragma once

#include "files/TransferReport.h"
#include "jobs/ConflictAnswers.h"
#include "jobs/ItemFailures.h"

#include <cstdint>

namespace kiv {

class JobControl;
class TrashBin;

// What the steps of one copy, move or extraction share: the job's control, the answers to taken
// names and to failures given so far, the tally of what was done and the report of it for undo.
struct TransferSession
{
    // `trashBin` may be null: an item is then never replaced by one of another kind.
    explicit TransferSession(JobControl& jobControl, const TrashBin* trashBin = nullptr)
        : control(jobControl)
        , trash(trashBin)
        , conflicts(jobControl)
        , failures(jobControl)
    {
    }

    JobControl& control;
    const TrashBin* trash; // where an item replaced by one of another kind goes; null for nowhere
    ConflictAnswers conflicts;
    ItemFailures failures;
    std::int64_t done = 0; // items copied or moved, counted as the job counted them beforehand
    std::int64_t skipped = 0; // items left alone for a taken name
    std::int64_t sourcesKept = 0; // items copied across file systems whose source could not be removed
    TransferReport report;
};

} // namespace kiv
