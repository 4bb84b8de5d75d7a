#include "commands/FileOperationCommands.h"

#include "archives/ArchiveMemberCopy.h"
#include "archives/ArchiveService.h"
#include "archives/ExtractJob.h"
#include "files/DeleteJob.h"
#include "files/DiskItem.h"
#include "files/FileSystemService.h"
#include "files/PathString.h"
#include "files/TransferJob.h"
#include "files/TypedPath.h"
#include "history/OperationHistory.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"
#include "panel/PanelLocation.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/ShownText.h"
#include "viewer/ViewerWindowController.h"

#include <QStringList>

namespace kiv {

namespace {

bool isViewable(const FileEntry& entry)
{
    return entry.kind == FileEntry::Kind::regularFile || entry.kind == FileEntry::Kind::symlink;
}

std::string sourcePath(const PanelLocation& source, const FileEntry& item)
{
    return PathString::appendingComponent(source.path(), item.name);
}

QString itemCount(const std::vector<FileEntry>& items)
{
    return QString::number(items.size()) + QStringLiteral(" item(s)");
}

// Runs `job` at once and says how it ended when not everything was done; returns whether all was.
bool runJob(Job&& job, QWidget& dialogParent)
{
    JobControl control;
    const JobOutcome outcome = JobThread::runHere(job, control);
    if (outcome.end != JobOutcome::End::completed)
        RetroDialogs::message(
            &dialogParent, QString::fromStdString(job.title()), ShownText::of(outcome.summary));
    return outcome.end == JobOutcome::End::completed;
}

} // namespace

FileOperationCommands::FileOperationCommands(CommandContext context, QObject* parent)
    : QObject(parent)
    , m_context(context)
{
}

FileOperationCommands::~FileOperationCommands() = default;

void FileOperationCommands::refuse(const QString& title, const QString& text) const
{
    RetroDialogs::message(&m_context.dialogParent, title, text);
}

std::optional<std::string> FileOperationCommands::askFor(
    const QString& title, const QString& message, const std::string& defaultValue) const
{
    const QString shownDefault = ShownText::of(defaultValue);
    const std::optional<QString> answer
        = RetroDialogs::prompt(&m_context.dialogParent, title, message, shownDefault);
    if (!answer)
        return std::nullopt;
    return ShownText::bytesOf(*answer, defaultValue);
}

void FileOperationCommands::forEachItem(
    const std::vector<FileEntry>& items, const std::function<void(const FileEntry&)>& action) const
{
    for (const FileEntry& item : items) {
        try {
            action(item);
        } catch (const std::exception& error) {
            RetroDialogs::error(&m_context.dialogParent, error);
        }
    }
}

void FileOperationCommands::finish(PanelViewController& source, PanelViewController* target) const
{
    source.setMarks({});
    source.reload();
    if (target)
        target->reload();
}

std::optional<std::string> FileOperationCommands::realPathUnderCursor() const
{
    const PanelViewController& panel = m_context.panels.active();
    const std::optional<FileEntry> entry = panel.selectedEntry();
    if (!entry || !isViewable(*entry))
        return std::nullopt;
    const PanelLocation& location = panel.state().location();
    if (!location.isArchive())
        return PathString::appendingComponent(location.path(), entry->name);
    try {
        return ArchiveMemberCopy::make(
            m_context.archives, location.archiveURL(), location.internalPath() + entry->name);
    } catch (const std::exception& error) {
        RetroDialogs::error(&m_context.dialogParent, error);
        return std::nullopt;
    }
}

void FileOperationCommands::viewOperation()
{
    const std::optional<std::string> path = realPathUnderCursor();
    if (!path)
        return;
    m_viewerWindows.push_back(std::make_unique<ViewerWindowController>(*path));
    m_viewerWindows.back()->showWindow();
}

void FileOperationCommands::editOperation()
{
    if (const std::optional<std::string> path = realPathUnderCursor())
        m_context.panels.inactive().presentEditor(*path);
}

void FileOperationCommands::copyOperation()
{
    PanelViewController& source = m_context.panels.active();
    PanelViewController& target = m_context.panels.other(source);
    const std::vector<FileEntry> items = source.state().selectionForOperation();
    if (items.empty())
        return;
    if (target.state().location().isArchive()) {
        refuse(QStringLiteral("Copy"),
            QStringLiteral(
                "Can't copy into an archive view. Switch the other panel to a real folder first."));
        return;
    }
    const std::optional<std::string> answer = askFor(
        QStringLiteral("Copy"), "Copy " + itemCount(items) + " to:", target.state().location().path());
    // An emptied field names no folder; taking it as the working folder would copy somewhere unseen.
    if (!answer || answer->empty())
        return;
    const std::string destination = TypedPath::absolute(
        *answer, source.state().location().nearestRealDirectory(), m_context.files.homeDirectoryPath());
    OperationRecord record { OperationRecord::Kind::copy, {} };
    forEachItem(items,
        [&](const FileEntry& item) { copyItem(source.state().location(), item, destination, record); });
    m_context.history.record(std::move(record));
    finish(source, &target);
}

void FileOperationCommands::copyItem(const PanelLocation& source, const FileEntry& item,
    const std::string& destination, OperationRecord& record) const
{
    if (source.isArchive()) {
        const auto kind = item.kind == FileEntry::Kind::directory ? ArchiveService::Member::folder
                                                                  : ArchiveService::Member::file;
        runJob(ExtractJob(source.archiveURL(), { { source.internalPath() + item.name, kind } }, destination),
            m_context.dialogParent);
    } else {
        const std::string from = sourcePath(source, item);
        if (transfer(TransferJob::Mode::copy, from, destination, item.name))
            record.addMade(from, PathString::appendingComponent(destination, item.name));
    }
}

bool FileOperationCommands::transfer(
    TransferJob::Mode mode, const std::string& from, const std::string& folder, const std::string& name) const
{
    // A folder copied or moved onto one that was there merges into it; taking the result away
    // again would take what was there before, so only a target made anew can be undone.
    const bool madeAnew = !DiskItem::exists(PathString::appendingComponent(folder, name));
    return runJob(TransferJob(mode, { { from, name } }, folder), m_context.dialogParent) && madeAnew;
}

void FileOperationCommands::moveOperation()
{
    PanelViewController& source = m_context.panels.active();
    if (source.state().location().isArchive()) {
        refuse(QStringLiteral("Move"),
            QStringLiteral(
                "Can't move items from inside an archive view - use Copy (F5) to extract them first."));
        return;
    }
    const std::vector<FileEntry> items = source.state().selectionForOperation();
    if (items.empty())
        return;
    PanelViewController& target = m_context.panels.other(source);
    if (items.size() == 1)
        moveOneItem(source, target, items.front());
    else
        moveItems(source, target, items);
}

void FileOperationCommands::moveOneItem(
    PanelViewController& source, PanelViewController& target, const FileEntry& item) const
{
    const PanelLocation& targetLocation = target.state().location();
    const std::string defaultValue = targetLocation.isArchive()
        ? item.name
        : PathString::appendingComponent(targetLocation.path(), item.name);
    const std::optional<std::string> answer = askFor(QStringLiteral("Rename / Move"),
        "New name or full path for \"" + ShownText::of(item.name) + "\":", defaultValue);
    // An emptied field names nothing to rename to: the same as Cancel.
    if (!answer || answer->empty())
        return;
    try {
        m_context.history.record(renameOrMove(source.state().location().path(), item, *answer));
    } catch (const std::exception& error) {
        RetroDialogs::error(&m_context.dialogParent, error);
    }
    finish(source, &target);
}

OperationRecord FileOperationCommands::renameOrMove(
    const std::string& sourceFolder, const FileEntry& item, const std::string& answer) const
{
    const FileSystemService& fs = m_context.files;
    const std::string from = PathString::appendingComponent(sourceFolder, item.name);
    const auto [folder, name]
        = TypedPath::destination(answer, sourceFolder, fs.homeDirectoryPath(), item.name);
    OperationRecord record {
        folder == sourceFolder ? OperationRecord::Kind::rename : OperationRecord::Kind::move, {}
    };
    if (folder == sourceFolder) {
        if (name == item.name)
            return record;
        fs.rename(from, name);
    } else {
        if (name == item.name && DiskItem::isSame(folder, sourceFolder, DiskItem::Link::target))
            return record; // the item already is there
        // One step, so a name taken in the destination leaves the item where it was.
        if (!transfer(TransferJob::Mode::move, from, folder, name))
            return record;
    }
    record.addMoved(from, PathString::appendingComponent(folder, name));
    return record;
}

void FileOperationCommands::moveItems(
    PanelViewController& source, PanelViewController& target, const std::vector<FileEntry>& items) const
{
    const PanelLocation& targetLocation = target.state().location();
    if (targetLocation.isArchive()) {
        refuse(QStringLiteral("Move"), QStringLiteral("Can't move into an archive view."));
        return;
    }
    const std::string& targetFolder = targetLocation.path();
    if (!RetroDialogs::confirm(&m_context.dialogParent, QStringLiteral("Move"),
            "Move " + itemCount(items) + " to " + ShownText::of(targetFolder) + "?"))
        return;
    OperationRecord record { OperationRecord::Kind::move, {} };
    forEachItem(items, [&](const FileEntry& item) {
        const std::string from = sourcePath(source.state().location(), item);
        if (transfer(TransferJob::Mode::move, from, targetFolder, item.name))
            record.addMoved(from, PathString::appendingComponent(targetFolder, item.name));
    });
    m_context.history.record(std::move(record));
    finish(source, &target);
}

void FileOperationCommands::mkdirOperation()
{
    PanelViewController& panel = m_context.panels.active();
    if (panel.state().location().isArchive()) {
        refuse(QStringLiteral("Make Directory"),
            QStringLiteral("Can't create a folder inside an archive view."));
        return;
    }
    const std::optional<std::string> name
        = askFor(QStringLiteral("Make Directory"), QStringLiteral("Name for the new folder:"), {});
    if (!name || name->empty())
        return;
    try {
        m_context.files.makeDirectory(*name, panel.state().location().path());
        OperationRecord record { OperationRecord::Kind::makeFolder, {} };
        record.addMade({}, PathString::appendingComponent(panel.state().location().path(), *name));
        m_context.history.record(std::move(record));
    } catch (const std::exception& error) {
        RetroDialogs::error(&m_context.dialogParent, error);
        return;
    }
    panel.reload();
}

void FileOperationCommands::deleteOperation()
{
    PanelViewController& source = m_context.panels.active();
    if (source.state().location().isArchive()) {
        refuse(QStringLiteral("Delete"), QStringLiteral("Can't delete items from inside an archive view."));
        return;
    }
    const std::vector<FileEntry> items = source.state().selectionForOperation();
    if (items.empty())
        return;
    QStringList names;
    for (const FileEntry& item : items)
        names << ShownText::of(item.name);
    const QString question = "Delete " + itemCount(items) + "?\n" + names.join(QStringLiteral(", "));
    if (!RetroDialogs::confirm(&m_context.dialogParent, QStringLiteral("Delete"), question,
            QStringLiteral("Delete"), ButtonTone::destructive))
        return;
    forEachItem(items, [&](const FileEntry& item) {
        runJob(DeleteJob({ sourcePath(source.state().location(), item) }), m_context.dialogParent);
    });
    finish(source, nullptr);
}

} // namespace kiv
