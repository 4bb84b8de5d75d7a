#include "commands/DragDropCommands.h"

#include "base/PathString.h"
#include "commands/DesktopFiles.h"
#include "commands/UndoRecording.h"
#include "files/TransferCheck.h"
#include "files/TransferJob.h"
#include "panel/PanelLocation.h"
#include "panels/PanelTableView.h"
#include "panels/PanelViewController.h"
#include "text/KivFormat.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/ShownText.h"
#include "trash/Trash.h"

#include <QDrag>
#include <QMimeData>
#include <QPointer>
#include <QStringList>
#include <QTimer>

namespace kiv {

namespace {

const QString dropTitle = QStringLiteral("Drop");

// The entries of a drop that name no file here, a few of them by name.
QString namesOf(const std::vector<std::string>& others)
{
    constexpr std::size_t shown = 3;
    QStringList names;
    for (std::size_t index = 0; index < std::min(others.size(), shown); ++index)
        names << ShownText::of(others[index]);
    if (others.size() > shown)
        names << QStringLiteral("...");
    return names.join(QStringLiteral(", "));
}

} // namespace

DragDropCommands::DragDropCommands(CommandContext context, QObject* parent)
    : QObject(parent)
    , m_context(context)
{
}

void DragDropCommands::drag(PanelViewController& panel)
{
    const std::optional<std::vector<std::string>> paths = DesktopFiles::localSelection(panel);
    if (!paths) {
        RetroDialogs::message(&m_context.dialogParent, QStringLiteral("Drag"),
            QStringLiteral("Only files of this machine can be dragged; copy them out of the archive or the "
                           "server first (F5)."));
        return;
    }
    if (paths->empty())
        return;
    // Owned by the list it starts from; Qt deletes it once the drag has ended.
    auto* drag = new QDrag(panel.tableView());
    drag->setMimeData(DesktopFiles::offering(*paths));
    // A move the target reports has been made by the target: the panel only lists what is left.
    if (drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction) != Qt::IgnoreAction)
        panel.setMarks({});
}

void DragDropCommands::drop(
    PanelViewController& panel, const QMimeData& data, bool move, const std::string& folderRow)
{
    // A drop from another program must be answered before any dialog runs a loop of its own.
    QTimer::singleShot(0, this,
        [this, guard = QPointer<PanelViewController>(&panel), files = DesktopFiles::filesOn(data), move,
            folderRow] {
            if (guard)
                transfer(*guard, files, move, folderRow);
        });
}

void DragDropCommands::transfer(PanelViewController& panel, const FileUriList::Files& files, bool move,
    const std::string& folderRow) const
{
    if (!files.others.empty()) {
        refuse(QStringLiteral("Only files of this machine can be dropped here, not ") + namesOf(files.others)
            + u'.');
        return;
    }
    if (files.paths.empty()) {
        refuse(QStringLiteral("The drop names no files."));
        return;
    }
    const std::optional<std::string> folder = targetFolder(panel, folderRow);
    if (!folder)
        return;
    if (const auto refusal = TransferCheck::refusal(files.paths, *folder, move ? "move" : "copy")) {
        refuse(ShownText::of(*refusal));
        return;
    }
    const QString count = QString::fromStdString(KivFormat::selectionCount(files.paths.size()));
    if (move
        && !RetroDialogs::confirm(&m_context.dialogParent, QStringLiteral("Move"),
            QStringLiteral("Move ") + count + QStringLiteral(" to ") + ShownText::of(*folder) + u'?'))
        return;
    const auto job = std::make_shared<TransferJob>(move ? TransferJob::Mode::move : TransferJob::Mode::copy,
        TransferJob::keepingNames(files.paths), *folder, std::make_shared<Trash>(m_context.trash));
    UndoRecording::start(
        m_context, job, job->report(), move ? OperationRecord::Kind::move : OperationRecord::Kind::copy);
}

// The folder of this machine a drop on `panel` goes into, or nothing once refused.
std::optional<std::string> DragDropCommands::targetFolder(
    const PanelViewController& panel, const std::string& folderRow) const
{
    const PanelLocation& location = panel.state().location();
    const std::optional<std::string> folder = DesktopFiles::localFolder(location);
    if (folder)
        return folderRow.empty() ? *folder : PathString::appendingComponent(*folder, folderRow);
    if (location.isArchive())
        refuse(QStringLiteral("Dropping files into an archive is not supported."));
    else if (location.isRemote())
        refuse(QStringLiteral("Dropping files onto a server's folder is not supported; copy them there with "
                              "F5 from a folder of this machine."));
    else
        refuse(QStringLiteral("Files are dropped only into a folder of this machine."));
    return std::nullopt;
}

void DragDropCommands::refuse(const QString& text) const
{
    RetroDialogs::message(&m_context.dialogParent, dropTitle, text);
}

} // namespace kiv
