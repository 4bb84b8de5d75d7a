#pragma once

#include "commands/CommandContext.h"

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

namespace kiv {

class OperationHistory;
class ReplayJob;

// Undo and redo of the file operations recorded in the history, and what each would act on next. Each runs as
// a job; what was done shows in the active panel's status line, a refusal (the files changed since) in the
// dialog that ends the job.
class UndoCommands : public QObject
{
    Q_OBJECT
public:
    // Works in `context`.
    explicit UndoCommands(CommandContext context, QObject* parent = nullptr);

    // Undoes the most recent operation as a job; the status line says what was undone.
    void undoOperation();
    // Does the most recently undone operation again as a job; as undoOperation() otherwise.
    void redoOperation();

    // Returns what undoOperation() would undo ("move of 3 items"), or nothing when nothing is left.
    std::optional<QString> nextUndo() const;
    // Returns what redoOperation() would do again, or nothing when nothing is undone.
    std::optional<QString> nextRedo() const;

private:
    using Start = std::shared_ptr<ReplayJob> (OperationHistory::*)();
    void replay(Start start, const QString& verb);

    CommandContext m_context;
};

} // namespace kiv
