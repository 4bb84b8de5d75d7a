#include "commands/FileOperationCommands.h"

#include "archives/ArchiveService.h"
#include "archives/ExtractJob.h"
#include "base/PathString.h"
#include "commands/ServerDelete.h"
#include "commands/ServerGuard.h"
#include "commands/UndoRecording.h"
#include "files/DeleteJob.h"
#include "files/FileSystemService.h"
#include "files/TransferJob.h"
#include "files/TypedPath.h"
#include "history/ItemChangeJob.h"
#include "history/OperationHistory.h"
#include "jobscreen/JobRunner.h"
#include "panel/PanelLocation.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "files/DoorCopyJob.h"
#include "remote/SftpDoor.h"
#include "remote/SftpRenameJob.h"
#include "text/KivFormat.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/ShownText.h"
#include "toolkit/Weakly.h"
#include "trash/Trash.h"

#include <QStringList>

namespace kiv {

namespace {

std::string sourcePath(const PanelLocation& source, const FileEntry& item)
{
    return PathString::appendingComponent(source.path(), item.name);
}

QString itemCount(const std::vector<FileEntry>& items)
{
    return QString::fromStdString(KivFormat::selectionCount(items.size()));
}

std::vector<std::string> sourcePaths(const PanelLocation& source, const std::vector<FileEntry>& items)
{
    std::vector<std::string> paths;
    for (const FileEntry& item : items)
        paths.push_back(sourcePath(source, item));
    return paths;
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
    const std::optional<QString> answer
        = RetroDialogs::prompt(&m_context.dialogParent, title, message, ShownText::of(defaultValue));
    if (!answer)
        return std::nullopt;
    return ShownText::bytesOf(*answer);
}

void FileOperationCommands::finish(PanelViewController& source, PanelViewController* target) const
{
    source.setMarks({});
    source.reload();
    if (target)
        target->reload();
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
    if (source.state().location().isRemote() || target.state().location().isRemote()) {
        transferThroughDoors(source.state().location(), items, target.state().location(), DoorCopyJob::Mode::copy);
        return;
    }
    const std::optional<std::string> answer = askFor(
        QStringLiteral("Copy"), "Copy " + itemCount(items) + " to:", target.state().location().path());
    // An emptied field names no folder; taking it as the working folder would copy somewhere unseen.
    if (!answer || answer->empty())
        return;
    const std::string destination = TypedPath::absolute(
        *answer, source.state().location().nearestRealDirectory(), m_context.files.homeDirectoryPath());
    startCopy(source.state().location(), items, destination);
    source.setMarks({});
}

void FileOperationCommands::transferThroughDoors(const PanelLocation& source, const std::vector<FileEntry>& items,
    const PanelLocation& target, DoorCopyJob::Mode mode) const
{
    const QString verb = mode == DoorCopyJob::Mode::move ? QStringLiteral("Move") : QStringLiteral("Copy");
    if (target.isArchive() || target.isFound()) {
        refuse(verb,
            QStringLiteral("Can't %1 into %2.")
                .arg(verb.toLower(), target.isArchive() ? QStringLiteral("an archive view") : QStringLiteral("a list of found items")));
        return;
    }
    // A move takes its items away where they lie, which a list of found files is not.
    if (mode == DoorCopyJob::Mode::move && source.isFound()) {
        refuse(verb, QStringLiteral("A server's items are moved to and from folders of this machine only."));
        return;
    }
    const QString question
        = verb + u' ' + itemCount(items) + QStringLiteral(" to ") + ShownText::of(target.displayPath()) + u'?';
    if (!RetroDialogs::confirm(&m_context.dialogParent, verb, question, verb))
        return;
    auto job = std::make_shared<DoorCopyJob>(source.door(), sourcePaths(source, items), target.door(), target.path(), mode);
    // A copy onto a server is undone there; what went both ways or came to this machine is not kept.
    if (target.isRemote() && mode == DoorCopyJob::Mode::copy)
        UndoRecording::start(m_context, job, job->report(), OperationRecord::Kind::copy, target.door());
    else
        m_context.jobs.start(job);
    m_context.panels.active().setMarks({});
}

void FileOperationCommands::startCopy(
    const PanelLocation& source, const std::vector<FileEntry>& items, const std::string& destination) const
{
    if (!source.isArchive()) {
        startRecorded(std::make_shared<TransferJob>(TransferJob::Mode::copy,
                          TransferJob::keepingNames(sourcePaths(source, items)), destination, trashBin()),
            OperationRecord::Kind::copy);
        return;
    }
    std::vector<ExtractJob::Member> members;
    for (const FileEntry& item : items)
        members.push_back({ source.internalPath() + item.name,
            item.kind == FileEntry::Kind::directory ? ArchiveService::Member::folder
                                                    : ArchiveService::Member::file });
    const auto job = std::make_shared<ExtractJob>(source.archivePath(), std::move(members), destination);
    UndoRecording::start(m_context, job, job->report(), OperationRecord::Kind::extract);
}

// A copy of its own: the job may outlive the window that holds the context's trash.
std::shared_ptr<const TrashBin> FileOperationCommands::trashBin() const
{
    return std::make_shared<Trash>(m_context.trash);
}

// The history hears of a copy or move once its job has ended, from what the job reports it did.
void FileOperationCommands::startRecorded(
    std::shared_ptr<TransferJob> transfer, OperationRecord::Kind kind) const
{
    UndoRecording::start(m_context, transfer, transfer->report(), kind);
}

void FileOperationCommands::moveOperation()
{
    PanelViewController& source = m_context.panels.active();
    PanelViewController& target = m_context.panels.other(source);
    if (source.state().location().isArchive()) {
        refuse(QStringLiteral("Move"),
            QStringLiteral(
                "Can't move items from inside an archive view - use Copy (F5) to extract them first."));
        return;
    }
    if (source.state().location().isRemote() || target.state().location().isRemote()) {
        moveWithServer(source, target);
        return;
    }
    const std::vector<FileEntry> items = source.state().selectionForOperation();
    if (items.empty())
        return;
    if (items.size() == 1)
        moveOneItem(source, target, items.front());
    else
        moveItems(source, target, items);
}

void FileOperationCommands::moveOneItem(
    PanelViewController& source, PanelViewController& target, const FileEntry& item) const
{
    // A found item's name is a path from the folder searched: it is renamed where it lies.
    const std::string from = sourcePath(source.state().location(), item);
    FileEntry leaf = item;
    leaf.name = PathString::lastComponent(from);
    const PanelLocation& targetLocation = target.state().location();
    const std::string defaultValue = targetLocation.isArchive()
        ? leaf.name
        : PathString::appendingComponent(targetLocation.path(), leaf.name);
    const std::optional<std::string> answer = askFor(QStringLiteral("Rename / Move"),
        "New name or full path for \"" + ShownText::of(leaf.name) + "\":", defaultValue);
    // An emptied field names nothing to rename to: the same as Cancel.
    if (!answer || answer->empty())
        return;
    try {
        renameOrMove(PanelLocation(source.state().location().door(), PathString::parentOrRoot(from)), leaf, *answer);
    } catch (const std::exception& error) {
        RetroDialogs::error(&m_context.dialogParent, error);
    }
    finish(source, &target);
}

void FileOperationCommands::renameOrMove(
    const PanelLocation& source, const FileEntry& item, const std::string& answer) const
{
    const std::string& sourceFolder = source.path();
    const std::string from = PathString::appendingComponent(sourceFolder, item.name);
    const auto [folder, name]
        = TypedPath::destination(answer, sourceFolder, FileSystemService::homeDirectoryPath(), item.name);
    if (folder == sourceFolder) {
        if (name != item.name)
            startChange(ItemChangeJob::renaming(source.door(), from, PathString::appendingComponent(folder, name)));
        return;
    }
    startRecorded(std::make_shared<TransferJob>(TransferJob::Mode::move,
                      std::vector<TransferJob::Item> { { from, name } }, folder, trashBin()),
        OperationRecord::Kind::move);
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
    startRecorded(
        std::make_shared<TransferJob>(TransferJob::Mode::move,
            TransferJob::keepingNames(sourcePaths(source.state().location(), items)), targetLocation.path(),
            trashBin()),
        OperationRecord::Kind::move);
    source.setMarks({});
}

// Within one server the items are renamed there; between a server and this machine they are
// copied, and each removed at its source once its copy is whole.
void FileOperationCommands::moveWithServer(PanelViewController& source, PanelViewController& target) const
{
    const std::vector<FileEntry> items = source.state().selectionForOperation();
    if (items.empty())
        return;
    const PanelLocation& from = source.state().location();
    const PanelLocation& to = target.state().location();
    if (!from.isRemote() || !to.isRemote()) {
        transferThroughDoors(from, items, to, DoorCopyJob::Mode::move);
        return;
    }
    if (!from.door()->isSamePlace(*to.door())) {
        refuse(QStringLiteral("Move"),
            QStringLiteral("Items move within one server, or between a server and this machine."));
        return;
    }
    std::optional<std::string> destination = to.path();
    if (items.size() == 1)
        destination = askFor(QStringLiteral("Rename / Move"),
            "New name or full path on the server for \"" + ShownText::of(items.front().name) + "\":",
            PathString::appendingComponent(to.path(), items.front().name));
    else if (!RetroDialogs::confirm(&m_context.dialogParent, QStringLiteral("Move"),
                 "Move " + itemCount(items) + " to " + ShownText::of(to.displayPath()) + "?"))
        return;
    // An emptied field names nothing to rename to: the same as Cancel.
    if (!destination || destination->empty())
        return;
    // A server's paths are its own: "~" is no folder of this machine there.
    const std::string path = destination->front() == '/' ? *destination
                                                         : PathString::appendingComponent(from.path(), *destination);
    const auto job = std::make_shared<SftpRenameJob>(
        std::static_pointer_cast<const SftpDoor>(from.door()), sourcePaths(from, items), path);
    UndoRecording::start(m_context, job, job->report(), OperationRecord::Kind::move, from.door());
    source.setMarks({});
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
    const PanelLocation& place = panel.state().location();
    startChange(ItemChangeJob::makingFolder(place.door(), PathString::appendingComponent(place.path(), *name)));
}

// The panels showing the folder are relisted once the job has ended, as after any job.
void FileOperationCommands::startChange(std::shared_ptr<ItemChangeJob> change) const
{
    m_context.jobs.start(
        change, [change, &history = m_context.history](const JobOutcome&) { history.record(change->takeRecord()); });
}

void FileOperationCommands::deleteOperation()
{
    PanelViewController& source = m_context.panels.active();
    if (source.state().location().isRemote()) {
        ServerDelete::offer(m_context, source, QStringLiteral("Delete"));
        return;
    }
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
    m_context.jobs.start(std::make_shared<DeleteJob>(sourcePaths(source.state().location(), items)));
    source.setMarks({});
}

} // namespace kiv
