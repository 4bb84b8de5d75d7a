#pragma once

#include "commands/CommandContext.h"

#include <QObject>
#include <QString>

namespace kiv {

class PanelViewController;

// Files through the desktop's clipboard, the way desktop file managers hand them over: copy or cut
// puts a panel's selection there, paste copies or moves the files found there into a panel's
// folder as a job, recorded for undo.
class ClipboardCommands : public QObject
{
    Q_OBJECT
public:
    // Works in `context`.
    explicit ClipboardCommands(CommandContext context, QObject* parent = nullptr);

    // Puts `panel`'s marked items, or the one under its cursor, on the clipboard to be copied.
    void copyFiles(PanelViewController& panel);
    // Puts `panel`'s marked items, or the one under its cursor, on the clipboard to be moved.
    void cutFiles(PanelViewController& panel);
    // Copies the files on the clipboard into `panel`'s folder, or moves them when they were cut
    // (and then empties the clipboard, whose files will be gone); says when there are none.
    void paste(PanelViewController& panel);

private:
    void put(PanelViewController& panel, bool cut);
    void refuse(const QString& title, const QString& text) const;

    CommandContext m_context;
};

} // namespace kiv
