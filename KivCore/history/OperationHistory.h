#pragma once

#include "history/OperationRecord.h"
#include "history/OperationReplay.h"
#include "trash/Trash.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace kiv {

class ReplayJob;

// The file operations of this run that can be undone, most recent last, and the undone ones that
// can be done again. An undo or redo runs as a ReplayJob, which checks first that the files are
// as the operation left them; an undo is itself redone by a redo. Permanent deletes are never
// recorded. Lives as long as the program runs; nothing is kept on disk.
class OperationHistory
{
public:
    // How many operations are kept; the oldest go first.
    static constexpr std::size_t capacity = 50;

    // An empty history whose trashed items go back and forth through `trash`.
    explicit OperationHistory(Trash trash);

    // Adds `record` as the most recent operation and forgets what was undone; an empty record is
    // ignored.
    void record(OperationRecord record);

    // Returns the operation an undo would undo, or null (also while a replay runs).
    const OperationRecord* nextUndo() const;
    // Returns the operation a redo would do again, or null (also while a replay runs).
    const OperationRecord* nextRedo() const;
    // Returns whether a job from startUndo() or startRedo() has not been finished yet.
    bool isReplaying() const { return m_replaying; }

    // Takes the most recent operation out and returns the job that undoes it; null when there is
    // nothing to undo or a replay runs. Hand the job back to finish() once it has ended.
    std::shared_ptr<ReplayJob> startUndo();
    // Takes the most recently undone operation out and returns the job that does it again; as
    // startUndo() otherwise.
    std::shared_ptr<ReplayJob> startRedo();
    // Takes back the ended `job`: what it replayed can now be replayed the other way, what it did
    // not (a refusal, a cancel, a failure half way) stays where it was.
    void finish(ReplayJob& job);

private:
    std::shared_ptr<ReplayJob> start(
        std::vector<OperationRecord>& from, OperationReplay::Direction direction);
    static void push(std::vector<OperationRecord>& stack, OperationRecord record);

    Trash m_trash;
    std::vector<OperationRecord> m_done;
    std::vector<OperationRecord> m_undone;
    bool m_replaying = false;
};

} // namespace kiv
