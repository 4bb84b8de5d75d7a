#pragma once

#include "commands/CommandContext.h"
#include "toolkit/RetroMenuItem.h"

#include <QObject>
#include <QString>
#include <memory>

namespace kiv {

class OperationHistory;
class ReplayJob;

// Undo (Ctrl+Z) and redo (Ctrl+Shift+Z) of the file operations recorded in the history, and the
// titles of their menu entries. Each runs as a job; what was done shows in the active panel's
// status line, a refusal (the files changed since) in the dialog that ends the job.
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

    // Returns the menu entry for undoOperation(), "Undo move of 3 items  (Ctrl+Z)", or a disabled
    // "Undo" when there is nothing to undo; it does nothing once this object is gone.
    RetroMenuItem undoMenuItem();
    // Returns the menu entry for redoOperation(), as undoMenuItem() does.
    RetroMenuItem redoMenuItem();

private:
    using Start = std::shared_ptr<ReplayJob> (OperationHistory::*)();
    void replay(Start start, const QString& verb);

    CommandContext m_context;
};

} // namespace kiv
