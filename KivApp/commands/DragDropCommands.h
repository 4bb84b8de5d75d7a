#pragma once

#include "commands/CommandContext.h"
#include "text/FileUriList.h"

#include <QObject>
#include <QString>
#include <optional>
#include <string>

class QMimeData;

namespace kiv {

class PanelViewController;

// Files dragged between the panels and other programs: a drag offers a panel's items as a
// uri-list, and files dropped on a panel are copied or moved into its folder, or a folder row's,
// by a job as F5 and F6 make one (the same conflict questions and progress, recorded for undo).
class DragDropCommands : public QObject
{
    Q_OBJECT
public:
    // Works in `context`.
    explicit DragDropCommands(CommandContext context, QObject* parent = nullptr);

    // Drags `panel`'s marked items, or the one under its cursor, offering them as a uri-list to be
    // copied or moved; says why when they are no files of this machine. Returns when the drag has
    // ended. Whatever the target does with them, nothing is removed here.
    void drag(PanelViewController& panel);
    // Copies the files `data` names, or moves them when `move`, into `panel`'s folder, or into its
    // folder row named `folderRow` when that is not empty; a move asks first. Refuses, in a dialog,
    // what names no file of this machine, a folder that is not one of this machine, items already
    // in the folder and a folder into itself. `data` is read at once; dialogs and the job follow
    // from the event loop, once the drop has ended.
    void drop(PanelViewController& panel, const QMimeData& data, bool move, const std::string& folderRow);

private:
    void transfer(PanelViewController& panel, const FileUriList::Files& files, bool move,
        const std::string& folderRow) const;
    std::optional<std::string> targetFolder(
        const PanelViewController& panel, const std::string& folderRow) const;
    void refuse(const QString& text) const;

    CommandContext m_context;
};

} // namespace kiv
