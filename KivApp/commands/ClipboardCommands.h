#pragma once

#include "commands/CommandContext.h"

#include <QObject>
#include <QString>
#include <string>
#include <vector>

namespace kiv {

// Files through the desktop's clipboard, the way desktop file managers hand them over: copy or cut
// puts the active panel's selection there, paste copies or moves the files found there into the
// active panel's folder as a job, recorded for undo.
class ClipboardCommands : public QObject
{
    Q_OBJECT
public:
    // Works in `context`.
    explicit ClipboardCommands(CommandContext context, QObject* parent = nullptr);

    // Puts the marked items, or the one under the cursor, on the clipboard to be copied.
    void copyFiles();
    // Puts the marked items, or the one under the cursor, on the clipboard to be moved.
    void cutFiles();
    // Copies the files on the clipboard into the active panel's folder, or moves them when they
    // were cut (and then empties the clipboard, whose files will be gone); says when there are none.
    void paste();

private:
    void put(bool cut);
    std::vector<std::string> selectedLocalPaths(const QString& title) const;
    void refuse(const QString& title, const QString& text) const;

    CommandContext m_context;
};

} // namespace kiv
