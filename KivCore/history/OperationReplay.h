#pragma once

#include "history/OperationRecord.h"

#include <string>
#include <vector>

namespace kiv {
class Door;
class JobControl;
class Trash;
} // namespace kiv

// Undoing a recorded operation, or doing it again, one item at a time, and the check before
// either that the files are still as the operation left them.
namespace kiv::OperationReplay {

enum class Direction
{
    undo,
    redo,
};

// Returns one sentence for each way the files differ from what undoing (or redoing) `record`
// expects: an item no longer where the operation put it, a name it would take back being used
// again, a copy changed since it was made. Empty when every step can go ahead. Touches nothing.
// An item out of reach inside a folder whose attributes the same operation changed (the right to
// enter it taken away) is checked as it is replayed instead, once that folder's change is undone.
std::vector<std::string> differences(const OperationRecord& record, Direction direction);

// Undoes or redoes one step of an operation of `kind`, updating `step` where redoing lands the
// item somewhere new (a new place in the trash, a new copy's snapshot). The copies, moves and
// deletes run on `control`, in the record's `place` through its door alone when it has one (a
// server's: renames, new folders and copies). Throws JobCancelled on a cancel, else what the file
// operation throws; the step is then not done.
void replay(OperationRecord::Kind kind, OperationRecord::Step& step, Direction direction, const Trash& trash,
    JobControl& control, const Door* place);

} // namespace kiv::OperationReplay
