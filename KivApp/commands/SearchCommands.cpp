#include "commands/SearchCommands.h"

#include "base/PathString.h"
#include "doors/Door.h"
#include "files/FolderSizeJob.h"
#include "findscreen/FindHitsDialog.h"
#include "findscreen/FindQueryDialog.h"
#include "jobscreen/JobRunner.h"
#include "jobscreen/WorkerLink.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "toolkit/RetroDialogs.h"


namespace kiv {

SearchCommands::SearchCommands(CommandContext context, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_link(new WorkerLink(this))
{
}

void SearchCommands::measureFolders()
{
    const PanelViewController& panel = m_context.panels.active();
    const PanelLocation& location = panel.state().location();
    std::vector<std::string> paths;
    if (!location.isArchive()) {
        for (const FileEntry& entry : panel.state().selectionForOperation())
            if (entry.kind == FileEntry::Kind::directory)
                paths.push_back(PathString::appendingComponent(location.path(), entry.name));
    }
    if (paths.empty()) {
        RetroDialogs::message(&m_context.dialogParent, QStringLiteral("Folder Size"),
            QStringLiteral("Put the cursor on a folder, or mark folders, to measure them."));
        return;
    }
    // A server's folders are walked through its door, never on this machine's disk.
    std::shared_ptr<const Door> server = location.isRemote() ? location.door() : nullptr;
    const auto show = m_link->relay<std::string, std::int64_t>(
        [this, server](
            const std::string& path, std::int64_t bytes) { showFolderSize(server.get(), path, bytes); });
    m_context.jobs.start(std::make_shared<FolderSizeJob>(
        std::move(paths),
        [show](const std::string& path, const FolderSizeJob::Size& size) { show(path, size.bytes); },
        server));
}

// A size measured on a server belongs to that server's rows, one of this machine to no server's.
void SearchCommands::showFolderSize(const Door* server, const std::string& path, std::int64_t bytes)
{
    for (PanelViewController* panel : { &m_context.panels.left(), &m_context.panels.right() }) {
        const PanelLocation& shown = panel->state().location();
        if (server ? shown.isRemote() && shown.door()->isSamePlace(*server) : !shown.isRemote())
            panel->showFolderSize(path, bytes);
    }
}

void SearchCommands::findFile()
{
    const PanelLocation& location = m_context.panels.active().state().location();
    // Taken now: the panel may move while the dialogs are shown.
    const std::shared_ptr<const Door> server = location.isRemote() ? location.door() : nullptr;
    const std::string here = server ? location.path() : location.nearestRealDirectory();
    FindQuery start = m_lastQuery.value_or(FindQuery {});
    start.root = here;
    std::optional<FindQuery> query = FindQueryDialog::ask(&m_context.dialogParent, start);
    if (!query)
        return;
    query->root = PathString::resolving(query->root, here);
    m_lastQuery = query;
    const std::optional<FindHitsDialog::Choice> choice
        = FindHitsDialog::run(&m_context.dialogParent, *query, server);
    if (!choice)
        return;
    if (choice->kind == FindHitsDialog::Choice::Kind::oneHit)
        goToHit(choice->hits.front(), server);
    else if (server)
        RetroDialogs::message(&m_context.dialogParent, QStringLiteral("Find File"),
            QStringLiteral("The files found on a server are not listed in the panel: Return goes to "
                           "the one under the cursor."));
    else
        showHitsInPanel(query->root, choice->hits);
}

void SearchCommands::goToHit(const FindResults::Hit& hit, const std::shared_ptr<const Door>& server)
{
    if (server)
        m_context.panels.active().goTo(PanelLocation(server, hit.folder), hit.name);
    else
        m_context.panels.active().goTo(hit.inArchive ? PanelLocation::archive(hit.folder, hit.insideArchive)
                                                     : PanelLocation::filesystem(hit.folder),
            hit.name);
}

// Members of archives have no path of their own on disk: the panel lists the rest.
void SearchCommands::showHitsInPanel(const std::string& root, const std::vector<FindResults::Hit>& hits)
{
    std::vector<std::string> names;
    const std::string prefix = PathString::appendingComponent(root, "");
    for (const FindResults::Hit& hit : hits) {
        const std::string path = PathString::appendingComponent(hit.folder, hit.name);
        if (!hit.inArchive && path.starts_with(prefix))
            names.push_back(path.substr(prefix.size()));
    }
    m_context.panels.active().goTo(PanelLocation::found(root, std::move(names)), {});
}

} // namespace kiv
