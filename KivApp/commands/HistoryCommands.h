#pragma once

#include "commands/CommandContext.h"
#include "toolkit/RetroMenuItem.h"

#include <QObject>
#include <QString>
#include <string>

namespace kiv {

class OperationHistory;

// Undo (Ctrl+Z) and redo (Ctrl+Shift+Z) of the file operations recorded in the history, and the
// titles of their menu entries. What was done shows in the active panel's status line; a refusal
// (the files changed since) in a dialog that says what differs.
class HistoryCommands : public QObject
{
    Q_OBJECT
public:
    // Works in `context`.
    explicit HistoryCommands(CommandContext context, QObject* parent = nullptr);

    // Undoes the most recent operation, then relists both panels.
    void undoOperation();
    // Does the most recently undone operation again, then relists both panels.
    void redoOperation();

    // Returns the menu entry for undoOperation(), "Undo move of 3 items  (Ctrl+Z)", or a disabled
    // "Undo" when there is nothing to undo; it does nothing once this object is gone.
    RetroMenuItem undoMenuItem();
    // Returns the menu entry for redoOperation(), as undoMenuItem() does.
    RetroMenuItem redoMenuItem();

private:
    using Replay = std::string (OperationHistory::*)();
    void replay(Replay replay, bool possible, const QString& verb, const QString& done);

    CommandContext m_context;
};

} // namespace kiv
