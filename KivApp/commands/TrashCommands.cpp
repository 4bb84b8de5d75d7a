#include "commands/TrashCommands.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "files/DeleteJob.h"
#include "files/PathString.h"
#include "history/ImmediateJob.h"
#include "history/OperationHistory.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/ShownText.h"
#include "trash/Trash.h"

#include <QStringList>

namespace kiv {

namespace {

const QString title = QStringLiteral("Move to Trash");

QString namesOf(const std::vector<FileEntry>& items)
{
    QStringList names;
    for (const FileEntry& item : items)
        names << ShownText::of(item.name);
    return names.join(QStringLiteral(", "));
}

} // namespace

TrashCommands::TrashCommands(CommandContext context, QObject* parent)
    : QObject(parent)
    , m_context(context)
{
}

void TrashCommands::trashOperation()
{
    PanelViewController& source = m_context.panels.active();
    if (source.state().location().isArchive()) {
        RetroDialogs::message(&m_context.dialogParent, title,
            QStringLiteral("Can't move items from inside an archive view to the trash."));
        return;
    }
    const std::vector<FileEntry> items = source.state().selectionForOperation();
    if (items.empty())
        return;
    if (items.size() > itemsWithoutQuestion
        && !RetroDialogs::confirm(
            &m_context.dialogParent, title, QStringLiteral("Move %1 items to the trash?").arg(items.size())))
        return;
    const std::string folder = source.state().location().path();
    trashItems(folder, items);
    source.setMarks({});
    source.reload();
    m_context.panels.other(source).reload();
}

// The items without a trash are offered for the permanent delete at the end, in one question, so a
// whole selection on such a file system is not asked about item by item.
void TrashCommands::trashItems(const std::string& folder, const std::vector<FileEntry>& items)
{
    OperationRecord record { OperationRecord::Kind::moveToTrash, {} };
    std::vector<FileEntry> refused;
    std::string reason;
    for (const FileEntry& item : items) {
        try {
            record.addTrashed(m_context.trash.moveToTrash(PathString::appendingComponent(folder, item.name)));
        } catch (const KivError& error) {
            refused.push_back(item);
            reason = error.description();
        } catch (const std::exception& error) {
            RetroDialogs::error(&m_context.dialogParent, error);
        }
    }
    m_context.history.record(std::move(record));
    if (!refused.empty())
        offerPermanentDelete(folder, refused, reason);
}

void TrashCommands::offerPermanentDelete(
    const std::string& folder, const std::vector<FileEntry>& items, const std::string& reason)
{
    const QString question = QStringLiteral("%1 item(s) cannot be moved to the trash:\n%2\n\n%3\n\n"
                                            "Delete them permanently instead? This cannot be undone.")
                                 .arg(items.size())
                                 .arg(namesOf(items), ShownText::of(reason));
    if (!RetroDialogs::confirm(&m_context.dialogParent, title, question, QStringLiteral("Delete Permanently"),
            ButtonTone::destructive))
        return;
    std::vector<std::string> paths;
    for (const FileEntry& item : items)
        paths.push_back(PathString::appendingComponent(folder, item.name));
    try {
        ImmediateJob::run(DeleteJob(std::move(paths)));
    } catch (const std::exception& error) {
        RetroDialogs::error(&m_context.dialogParent, error);
    }
}

} // namespace kiv
