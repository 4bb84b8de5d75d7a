#include "commands/TrashCommands.h"

#include "base/PathString.h"
#include "commands/ServerDelete.h"
#include "files/DeleteJob.h"
#include "history/OperationHistory.h"
#include "jobscreen/JobRunner.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "text/KivFormat.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/ShownText.h"
#include "trash/TrashJob.h"

#include <QStringList>

namespace kiv {

namespace {

const QString trashTitle = QStringLiteral("Move to Trash");

} // namespace

TrashCommands::TrashCommands(CommandContext context, QObject* parent)
    : QObject(parent)
    , m_context(context)
{
}

void TrashCommands::trashOperation()
{
    PanelViewController& source = m_context.panels.active();
    if (source.state().location().isRemote()) {
        ServerDelete::offer(m_context, source, trashTitle);
        return;
    }
    if (source.state().location().isArchive()) {
        RetroDialogs::message(&m_context.dialogParent, trashTitle,
            QStringLiteral("Can't move items from inside an archive view to the trash."));
        return;
    }
    const std::vector<FileEntry> items = source.state().selectionForOperation();
    if (items.empty())
        return;
    if (items.size() > itemsWithoutQuestion
        && !RetroDialogs::confirm(
            &m_context.dialogParent, trashTitle, QStringLiteral("Move %1 items to the trash?").arg(items.size())))
        return;
    std::vector<std::string> paths;
    for (const FileEntry& item : items)
        paths.push_back(PathString::appendingComponent(source.state().location().path(), item.name));
    auto job = std::make_shared<TrashJob>(std::move(paths), m_context.trash);
    m_context.jobs.start(job, [this, job](const JobOutcome&) { trashEnded(*job); });
    source.setMarks({});
}

// The items without a trash are offered for the permanent delete at the end, in one question, so a
// whole selection on such a file system is not asked about item by item.
void TrashCommands::trashEnded(const TrashJob& job)
{
    OperationRecord record { OperationRecord::Kind::moveToTrash, {} };
    for (const TrashedItem& item : job.trashed())
        record.addTrashed(item);
    m_context.history.record(std::move(record));
    if (!job.refused().empty())
        offerPermanentDelete(job.refused(), job.refusal());
}

void TrashCommands::offerPermanentDelete(const std::vector<std::string>& paths, const std::string& reason)
{
    QStringList names;
    for (const std::string& path : paths)
        names << ShownText::of(PathString::lastComponent(path));
    const QString question = QStringLiteral("%1 cannot be moved to the trash:\n%2\n\n%3\n\n"
                                            "Delete them permanently instead? This cannot be undone.")
                                 .arg(QString::fromStdString(KivFormat::selectionCount(paths.size())))
                                 .arg(names.join(QStringLiteral(", ")), ShownText::of(reason));
    if (RetroDialogs::confirm(&m_context.dialogParent, trashTitle, question, QStringLiteral("Delete Permanently"),
            ButtonTone::destructive))
        m_context.jobs.start(std::make_shared<DeleteJob>(paths));
}

} // namespace kiv
