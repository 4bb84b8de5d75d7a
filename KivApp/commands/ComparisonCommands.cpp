#include "commands/ComparisonCommands.h"

#include "base/PathString.h"
#include "commands/ServerGuard.h"
#include "compare/FileCompareJob.h"
#include "comparescreen/CompareWindowController.h"
#include "history/OperationHistory.h"
#include "jobscreen/JobRunner.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "sync/FolderCompareJob.h"
#include "sync/SyncJob.h"
#include "syncscreen/SyncDialog.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/Weakly.h"

#include <QTimer>

namespace kiv {

namespace {

const QString compareTitle = QStringLiteral("Compare Files");
const QString syncTitle = QStringLiteral("Synchronize Folders");

bool isFile(const FileEntry& entry)
{
    return entry.kind == FileEntry::Kind::regularFile || entry.kind == FileEntry::Kind::archive
        || entry.kind == FileEntry::Kind::symlink;
}

// A panel whose items are files of one folder on this machine's disk.
bool isPlainFolder(const PanelViewController& panel)
{
    const PanelLocation& location = panel.state().location();
    return !location.isArchive() && !location.isFound() && !location.isRemote();
}

std::string pathOf(const PanelViewController& panel, const FileEntry& entry)
{
    return PathString::appendingComponent(panel.state().location().path(), entry.name);
}

} // namespace

ComparisonCommands::ComparisonCommands(CommandContext context, QObject* parent)
    : QObject(parent)
    , m_context(context)
{
}

void ComparisonCommands::refuse(const QString& title, const QString& text) const
{
    RetroDialogs::message(&m_context.dialogParent, title, text);
}

// Two marked files in the active panel are compared with each other; otherwise each panel's cursor
// names one.
std::optional<std::pair<std::string, std::string>> ComparisonCommands::filesToCompare() const
{
    const PanelViewController& active = m_context.panels.active();
    const std::vector<FileEntry> marked = active.state().selectionForOperation();
    if (marked.size() == 2 && isFile(marked[0]) && isFile(marked[1]) && isPlainFolder(active))
        return std::pair { pathOf(active, marked[0]), pathOf(active, marked[1]) };
    const PanelViewController& left = m_context.panels.left();
    const PanelViewController& right = m_context.panels.right();
    const std::optional<FileEntry> leftFile = left.selectedEntry();
    const std::optional<FileEntry> rightFile = right.selectedEntry();
    if (!leftFile || !rightFile || !isFile(*leftFile) || !isFile(*rightFile)) {
        refuse(compareTitle,
            QStringLiteral("Put the cursor on a file in each panel, or mark two files in one."));
        return std::nullopt;
    }
    if (!isPlainFolder(left) || !isPlainFolder(right)) {
        if (!ServerGuard::refused(m_context.dialogParent, compareTitle, { &left, &right }))
            refuse(compareTitle,
                QStringLiteral("Both files need to be in folders on the disk. Copy a "
                               "member out of its archive with F5 first."));
        return std::nullopt;
    }
    return std::pair { pathOf(left, *leftFile), pathOf(right, *rightFile) };
}

void ComparisonCommands::compareFiles()
{
    const std::optional<std::pair<std::string, std::string>> files = filesToCompare();
    if (!files)
        return;
    auto job = std::make_shared<FileCompareJob>(files->first, files->second);
    m_context.jobs.start(job, weakly(this, [job](ComparisonCommands& commands, const JobOutcome&) {
        if (const std::shared_ptr<const FileCompareJob::Result> result = job->result())
            (new CompareWindowController(result, &commands))->showWindow();
    }));
}

// Two different folders on the disk, neither inside the other: a tree copied into itself would
// grow as it is read.
std::optional<std::pair<std::string, std::string>> ComparisonCommands::foldersToSynchronize() const
{
    const PanelViewController& left = m_context.panels.left();
    const PanelViewController& right = m_context.panels.right();
    if (!isPlainFolder(left) || !isPlainFolder(right)) {
        if (!ServerGuard::refused(m_context.dialogParent, syncTitle, { &left, &right }))
            refuse(syncTitle, QStringLiteral("Both panels need to be on folders on the disk."));
        return std::nullopt;
    }
    const std::string& leftRoot = left.state().location().path();
    const std::string& rightRoot = right.state().location().path();
    if (PathString::isSameOrInside(leftRoot, rightRoot) || PathString::isSameOrInside(rightRoot, leftRoot)) {
        refuse(syncTitle, QStringLiteral("The two panels show one folder, or one inside the other: "
                                         "there is nothing to make alike."));
        return std::nullopt;
    }
    return std::pair { leftRoot, rightRoot };
}

void ComparisonCommands::synchronize()
{
    const std::optional<std::pair<std::string, std::string>> roots = foldersToSynchronize();
    if (!roots)
        return;
    const RetroDialogResponse how = RetroDialogs::ask(&m_context.dialogParent, syncTitle,
        QStringLiteral("Compare the two folders and everything below them by size and time, or "
                       "byte for byte by content (slower)?"),
        QStringLiteral("Size and time"), ButtonTone::ordinary, QStringLiteral("Content"));
    if (how == RetroDialogResponse::cancel)
        return;
    const auto mode = how == RetroDialogResponse::alternative ? FolderComparison::Mode::content
                                                              : FolderComparison::Mode::sizeAndTime;
    auto job = std::make_shared<FolderCompareJob>(roots->first, roots->second, mode);
    m_context.jobs.start(job, weakly(this, [job, roots = *roots](ComparisonCommands& commands, const JobOutcome& outcome) {
        // The window tells what stopped a comparison that did not complete.
        if (outcome.end != JobOutcome::End::completed)
            return;
        // Later, not now: the runner is still handing out the ends of jobs.
        QTimer::singleShot(0, &commands, [&commands, roots, items = job->items()] {
            commands.chooseAndSynchronize(roots, items);
        });
    }));
}

void ComparisonCommands::chooseAndSynchronize(
    const std::pair<std::string, std::string>& roots, const std::vector<SyncItem>& differences)
{
    if (differences.empty()) {
        refuse(syncTitle, QStringLiteral("The two folders are alike."));
        return;
    }
    std::optional<std::vector<SyncItem>> chosen
        = SyncDialog::ask(&m_context.dialogParent, roots.first, roots.second, differences);
    if (!chosen || chosen->empty())
        return;
    auto sync = std::make_shared<SyncJob>(roots.first, roots.second, std::move(*chosen), m_context.trash);
    m_context.jobs.start(
        sync, [sync, &history = m_context.history](const JobOutcome&) { history.record(sync->takeRecord()); });
}

} // namespace kiv
