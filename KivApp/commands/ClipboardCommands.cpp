#include "commands/ClipboardCommands.h"

#include "commands/DesktopFiles.h"
#include "commands/UndoRecording.h"
#include "files/TransferJob.h"
#include "panels/PanelViewController.h"
#include "text/FileUriList.h"
#include "toolkit/RetroDialogs.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace kiv {

ClipboardCommands::ClipboardCommands(CommandContext context, QObject* parent)
    : QObject(parent)
    , m_context(context)
{
}

void ClipboardCommands::copyFiles(PanelViewController& panel)
{
    put(panel, false);
}

void ClipboardCommands::cutFiles(PanelViewController& panel)
{
    put(panel, true);
}

void ClipboardCommands::put(PanelViewController& panel, bool cut)
{
    const std::optional<std::vector<std::string>> paths = DesktopFiles::localSelection(panel);
    if (!paths) {
        refuse(cut ? QStringLiteral("Cut") : QStringLiteral("Copy"),
            QStringLiteral("Only files of this machine go to the clipboard; copy them out of the archive or "
                           "the server first (F5)."));
        return;
    }
    if (paths->empty())
        return;
    QMimeData* data = DesktopFiles::offering(*paths);
    DesktopFiles::put(*data, DesktopFiles::copiedFilesType, FileUriList::copiedFiles(*paths, cut));
    if (cut)
        DesktopFiles::put(*data, DesktopFiles::cutSelectionType, "1");
    QGuiApplication::clipboard()->setMimeData(data);
    panel.setMarks({});
}

void ClipboardCommands::paste(PanelViewController& panel)
{
    const QString title = QStringLiteral("Paste");
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const FileUriList::Files files = data ? DesktopFiles::filesOn(*data) : FileUriList::Files {};
    if (files.paths.empty()) {
        refuse(title,
            !files.others.empty() ? QStringLiteral("The clipboard names no file of this machine.")
                                  : QStringLiteral("The clipboard holds no files."));
        return;
    }
    const std::optional<std::string> folder = DesktopFiles::localFolder(panel.state().location());
    if (!folder) {
        refuse(title, QStringLiteral("Files are pasted only into a folder of this machine."));
        return;
    }
    const auto mode = files.cut ? TransferJob::Mode::move : TransferJob::Mode::copy;
    auto job = std::make_shared<TransferJob>(mode, TransferJob::keepingNames(files.paths), *folder);
    UndoRecording::start(m_context, job, job->report(),
        files.cut ? OperationRecord::Kind::move : OperationRecord::Kind::copy);
    if (files.cut)
        QGuiApplication::clipboard()->clear();
}

void ClipboardCommands::refuse(const QString& title, const QString& text) const
{
    RetroDialogs::message(&m_context.dialogParent, title, text);
}

} // namespace kiv
