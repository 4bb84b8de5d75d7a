#pragma once

#include "commands/CommandContext.h"

#include <QObject>

namespace kiv {

// Renaming many items at once by a rule: the multi-rename dialog over the active panel's
// selection, then one job recorded as one operation, so one undo gives every name back.
class RenameCommands : public QObject
{
    Q_OBJECT
public:
    // Works in `context`.
    explicit RenameCommands(CommandContext context, QObject* parent = nullptr);

    // Opens the multi-rename dialog on the marked items of the active panel, or the one under the
    // cursor, and renames them as one job once the user confirms a plan without problems.
    void multiRename();

private:
    CommandContext m_context;
};

} // namespace kiv
