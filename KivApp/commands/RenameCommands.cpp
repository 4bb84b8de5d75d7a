#include "commands/RenameCommands.h"

#include "commands/ServerGuard.h"
#include "commands/UndoRecording.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "rename/RenameSetJob.h"
#include "renamescreen/MultiRenameDialog.h"
#include "toolkit/RetroDialogs.h"

#include <exception>

namespace kiv {

RenameCommands::RenameCommands(CommandContext context, QObject* parent)
    : QObject(parent)
    , m_context(context)
{
}

void RenameCommands::multiRename()
{
    PanelViewController& panel = m_context.panels.active();
    const PanelLocation& location = panel.state().location();
    if (ServerGuard::refused(m_context.dialogParent, QStringLiteral("Multi-Rename"), { &panel }))
        return;
    if (location.isArchive() || location.isFound()) {
        RetroDialogs::message(&m_context.dialogParent, QStringLiteral("Multi-Rename"),
            QStringLiteral("Items can be renamed together in a folder on the disk only."));
        return;
    }
    std::vector<RenamePlan::Item> items;
    for (const FileEntry& entry : panel.state().selectionForOperation())
        items.push_back({ location.path(), entry.name, entry.kind == FileEntry::Kind::directory,
            entry.modificationDate });
    if (items.empty())
        return;
    RenamePlan::PresentNames present;
    try {
        // Hidden names too: a new name may be taken by an item the panel does not show.
        present = RenamePlan::presentNames(items);
    } catch (const std::exception& error) {
        RetroDialogs::error(&m_context.dialogParent, error);
        return;
    }
    std::optional<std::vector<RenameSetJob::Rename>> renames
        = MultiRenameDialog::ask(&m_context.dialogParent, std::move(items), std::move(present));
    if (!renames || renames->empty())
        return;
    panel.setMarks({});
    const auto job = std::make_shared<RenameSetJob>(std::move(*renames));
    UndoRecording::start(m_context, job, job->report(), OperationRecord::Kind::rename);
}

} // namespace kiv
