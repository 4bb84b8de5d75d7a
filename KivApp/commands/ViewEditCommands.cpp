#include "commands/ViewEditCommands.h"

#include "base/PathString.h"
#include "doors/Door.h"
#include "files/FileLoadJob.h"
#include "files/FileSystemService.h"
#include "files/WriteBackJob.h"
#include "jobscreen/JobRunner.h"
#include "panel/PanelLocation.h"
#include "panels/PanelEditorCover.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/ShownText.h"
#include "toolkit/Weakly.h"
#include "viewer/ViewerLoadJob.h"
#include "viewer/ViewerWindowController.h"

#include <QPointer>

namespace kiv {

namespace {

bool isViewable(const FileEntry& entry)
{
    return entry.kind == FileEntry::Kind::regularFile || entry.kind == FileEntry::Kind::symlink;
}

} // namespace

ViewEditCommands::ViewEditCommands(CommandContext context, QObject* parent)
    : QObject(parent)
    , m_context(context)
{
}

ViewEditCommands::~ViewEditCommands() = default;

void ViewEditCommands::viewOperation()
{
    const PanelViewController& panel = m_context.panels.active();
    const std::optional<FileEntry> entry = panel.selectedEntry();
    if (!entry || !isViewable(*entry))
        return;
    // Reading a file to show it waits for no copy running in the background.
    m_context.jobs.readBeside<ViewerLoadJob>(std::make_shared<ViewerLoadJob>(panel.state().location().door(), entry->id),
        weakly(this, &ViewEditCommands::openViewer));
}

void ViewEditCommands::editOperation()
{
    const PanelViewController& panel = m_context.panels.active();
    const std::optional<FileEntry> entry = panel.selectedEntry();
    if (!entry || !isViewable(*entry))
        return;
    const PanelLocation& place = panel.state().location();
    edit(place.door(), entry->id, place.isArchive() ? place.archivePath() : std::string());
}

void ViewEditCommands::editLocalFile(const std::string& path)
{
    edit(FileSystemService::shared(), path, {});
}

void ViewEditCommands::openViewer(ViewerLoadJob& job)
{
    const FileLoadJob& loaded = job.loaded();
    // The other form is read from the same file of this machine: the file itself or its copy.
    const std::string file = loaded.file();
    auto reread = weakly(
        this, [file](ViewEditCommands& commands, PreviewText::Form form, ViewerWindowController::Show show) {
            commands.m_context.jobs.readBeside<ViewerLoadJob>(
                std::make_shared<ViewerLoadJob>(FileSystemService::shared(), file, form),
                [show](ViewerLoadJob& again) { show(again.loaded().preview().kind, again.takeDocument()); });
        });
    const std::optional<std::int64_t> size = loaded.stamp() ? std::optional(loaded.stamp()->size) : std::nullopt;
    (new ViewerWindowController(file, loaded.preview().kind, job.takeDocument(), size, reread, this))->showWindow();
}

void ViewEditCommands::edit(std::shared_ptr<const Door> door, const std::string& path, const std::string& archive)
{
    QPointer<PanelViewController> editing = &m_context.panels.inactive();
    m_context.jobs.readBeside<FileLoadJob>(
        std::make_shared<FileLoadJob>(std::move(door), path, FileLoadJob::Purpose::editing),
        weakly(this, [editing, archive](ViewEditCommands& commands, FileLoadJob& loaded) {
            if (editing)
                commands.openEditor(*editing, loaded, archive);
        }));
}

// A copy out of an archive has nowhere to be saved to: it is only read.
void ViewEditCommands::openEditor(PanelViewController& editing, const FileLoadJob& loaded, const std::string& archive)
{
    using Kind = EditableText::Loaded::Kind;
    if (loaded.text().kind != Kind::text && loaded.text().kind != Kind::missing) {
        refuseToEdit(loaded);
        return;
    }
    std::optional<PanelEditorView::SaveBack> save;
    if (archive.empty())
        save = saveBack(loaded.door(), loaded.path(), loaded.stamp());
    editing.editorCover().present(loaded.file(), loaded.text(), archive, std::move(save));
}

// An editor of text would change other bytes, and an empty one would replace what it never showed.
void ViewEditCommands::refuseToEdit(const FileLoadJob& loaded) const
{
    const QString name = ShownText::of(PathString::lastComponent(loaded.path()));
    QString text;
    switch (loaded.text().kind) {
    case EditableText::Loaded::Kind::notText:
        text = name + QStringLiteral(" is not UTF-8 text, and the editor would change its bytes");
        break;
    case EditableText::Loaded::Kind::unkeptBreaks:
        text = name
            + QStringLiteral(" has line breaks the editor would change (carriage returns alone, both kinds of "
                             "line break, or paragraph separators)");
        break;
    default:
        text = name + QStringLiteral(" could not be read (a folder, a device, or no permission to read it)");
    }
    RetroDialogs::message(&m_context.dialogParent, QStringLiteral("Can't Edit"),
        text + QStringLiteral(", so the editor does not open it. F3 shows it."));
}

PanelEditorView::SaveBack ViewEditCommands::saveBack(
    std::shared_ptr<const Door> door, const std::string& path, std::optional<FileStamp> stamp)
{
    // What the file was when last read or written, so a save after a save asks nothing.
    auto read = std::make_shared<std::optional<FileStamp>>(std::move(stamp));
    const auto write = [door, path, read](ViewEditCommands& commands, std::string bytes,
                           std::function<void(bool written)> done) {
        auto job = std::make_shared<WriteBackJob>(door, path, std::move(bytes), *read);
        // A save waits for no copy running in the background either: it touches nothing another does.
        commands.m_context.jobs.startBeside(job, [job, read, done](const JobOutcome& outcome) {
            const bool written = outcome.end == JobOutcome::End::completed;
            if (written)
                *read = job->written();
            done(written);
        });
    };
    // A file of this machine is named as the editor always named it; one elsewhere by its place.
    const QString place = ShownText::of(door->localPath(path) ? PathString::lastComponent(path) : door->displayPath(path));
    return { place, weakly(this, write) };
}

} // namespace kiv
