#include "commands/ClipboardCommands.h"

#include "base/PathString.h"
#include "commands/UndoRecording.h"
#include "doors/Door.h"
#include "files/TransferJob.h"
#include "panel/PanelLocation.h"
#include "panels/PanelViewController.h"
#include "text/FileUriList.h"
#include "toolkit/RetroDialogs.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace kiv {

namespace {

const QString uriListType = QStringLiteral("text/uri-list");
const QString copiedFilesType = QStringLiteral("x-special/gnome-copied-files");
// Another desktop's word for a cut beside a plain uri-list.
const QString cutSelectionType = QStringLiteral("application/x-kde-cutselection");

QByteArray bytes(const std::string& text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

std::string_view view(const QByteArray& data)
{
    return { data.constData(), std::size_t(data.size()) };
}

// The files `data` names, as the richest of its forms says.
FileUriList::Files filesOn(const QMimeData& data)
{
    if (data.hasFormat(copiedFilesType))
        if (auto files = FileUriList::fromCopiedFiles(view(data.data(copiedFilesType))))
            return *files;
    FileUriList::Files files = FileUriList::fromUriList(view(data.data(uriListType)));
    files.cut = data.data(cutSelectionType).startsWith('1');
    return files;
}

// The local folder `location` shows, or nothing inside an archive, a found list or a remote place.
std::optional<std::string> localFolder(const PanelLocation& location)
{
    if (location.kind() != PanelLocation::Kind::filesystem)
        return std::nullopt;
    return location.door()->localPath(location.folder());
}

} // namespace

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
    const std::vector<std::string> paths
        = selectedLocalPaths(panel, cut ? QStringLiteral("Cut") : QStringLiteral("Copy"));
    if (paths.empty())
        return;
    auto* data = new QMimeData;
    data->setData(uriListType, bytes(FileUriList::uriList(paths)));
    data->setData(copiedFilesType, bytes(FileUriList::copiedFiles(paths, cut)));
    if (cut)
        data->setData(cutSelectionType, QByteArrayLiteral("1"));
    QGuiApplication::clipboard()->setMimeData(data);
    panel.setMarks({});
}

// Only files of this machine mean anything to another program; none at all when one is not.
std::vector<std::string> ClipboardCommands::selectedLocalPaths(
    const PanelViewController& panel, const QString& title) const
{
    const PanelLocation& location = panel.state().location();
    std::vector<std::string> paths;
    for (const FileEntry& item : panel.state().selectionForOperation()) {
        const std::optional<std::string> path = location.isArchive()
            ? std::nullopt
            : location.door()->localPath(PathString::appendingComponent(location.path(), item.name));
        if (!path) {
            refuse(title, QStringLiteral("Only files of this machine go to the clipboard; copy them "
                                         "out of the archive or the server first (F5)."));
            return {};
        }
        paths.push_back(*path);
    }
    return paths;
}

void ClipboardCommands::paste(PanelViewController& panel)
{
    const QString title = QStringLiteral("Paste");
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const FileUriList::Files files = data ? filesOn(*data) : FileUriList::Files {};
    if (files.paths.empty()) {
        refuse(title,
            files.others > 0 ? QStringLiteral("The clipboard names no file of this machine.")
                             : QStringLiteral("The clipboard holds no files."));
        return;
    }
    const std::optional<std::string> folder = localFolder(panel.state().location());
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
