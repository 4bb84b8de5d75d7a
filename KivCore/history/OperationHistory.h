#pragma once

#include "history/OperationRecord.h"
#include "history/OperationReplay.h"
#include "trash/Trash.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kiv {

// The file operations of this run that can be undone, most recent last, and the undone ones that
// can be done again. Undoing checks first that the files are as the operation left them and
// otherwise refuses, touching nothing; an undo is itself redone by redo(). Permanent deletes are
// never recorded. Lives as long as the program runs; nothing is kept on disk.
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

    // Returns the operation undo() would undo, or null.
    const OperationRecord* nextUndo() const;
    // Returns the operation redo() would do again, or null.
    const OperationRecord* nextRedo() const;

    // Undoes the most recent operation, its items in reverse order, and returns its description.
    // Throws KivError::operationFailed listing every difference when the files no longer match it,
    // with nothing touched, or when there is nothing to undo. When an item fails half way the
    // error is thrown and the items undone so far can be redone, the rest still undone.
    std::string undo();
    // Does the most recently undone operation again; otherwise as undo().
    std::string redo();

private:
    using Direction = OperationReplay::Direction;

    std::string replay(
        std::vector<OperationRecord>& from, std::vector<OperationRecord>& to, Direction direction);
    static void push(std::vector<OperationRecord>& stack, OperationRecord record);

    Trash m_trash;
    std::vector<OperationRecord> m_done;
    std::vector<OperationRecord> m_undone;
};

} // namespace kiv
