#include "commands/AttributeCommands.h"

#include "attributes/AttributeForm.h"
#include "attributes/AttributesJob.h"
#include "attributes/AttributesReadJob.h"
#include "attributes/LinkJob.h"
#include "attributescreen/AttributesDialog.h"
#include "base/PathString.h"
#include "doors/Door.h"
#include "files/FileSystemService.h"
#include "files/TypedPath.h"
#include "history/OperationHistory.h"
#include "jobscreen/JobRunner.h"
#include "panel/PanelLocation.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/ShownText.h"
#include "toolkit/Weakly.h"

namespace kiv {

namespace {

const QString attributesTitle = QStringLiteral("Attributes");
const QString linkTitle = QStringLiteral("Make Link");

// Starts `job`, whose record goes into the history once it has ended.
template <typename RecordingJob> void startRecorded(const CommandContext& context, std::shared_ptr<RecordingJob> job)
{
    context.jobs.start(job, [job, &history = context.history](const JobOutcome&) { history.record(job->takeRecord()); });
}

QString subjectOf(const std::vector<std::string>& paths)
{
    if (paths.size() == 1)
        return ShownText::of(PathString::lastComponent(paths.front()));
    return QStringLiteral("%1 items in %2")
        .arg(paths.size())
        .arg(ShownText::of(PathString::parentOrRoot(paths.front())));
}

} // namespace

AttributeCommands::AttributeCommands(CommandContext context, QObject* parent)
    : QObject(parent)
    , m_context(context)
{
}

void AttributeCommands::refuse(const QString& title, const QString& text) const
{
    RetroDialogs::message(&m_context.dialogParent, title, text);
}

// The paths on this computer's disk of the active panel's selection; nothing when there is none
// or the place is elsewhere (said in a dialog).
std::optional<std::vector<std::string>> AttributeCommands::localPaths(const QString& title) const
{
    const PanelLocation& place = m_context.panels.active().state().location();
    std::vector<std::string> paths;
    for (const FileEntry& item : m_context.panels.active().state().selectionForOperation()) {
        const std::optional<std::string> path
            = place.door()->localPath(PathString::appendingComponent(place.folder(), item.name));
        if (!path) {
            refuse(title,
                QStringLiteral("Attributes are changed only for items on this computer's disk, not for those in %1.")
                    .arg(ShownText::of(place.displayPath())));
            return std::nullopt;
        }
        paths.push_back(*path);
    }
    if (paths.empty())
        return std::nullopt;
    return paths;
}

void AttributeCommands::changeAttributes()
{
    const std::optional<std::vector<std::string>> paths = localPaths(attributesTitle);
    if (!paths)
        return;
    auto reading = std::make_shared<AttributesReadJob>(*paths);
    m_context.jobs.start(reading,
        weakly(this, [reading, paths = *paths](AttributeCommands& commands, const JobOutcome& outcome) {
            if (outcome.end == JobOutcome::End::completed)
                commands.askAndChange(paths, reading->items());
        }));
}

void AttributeCommands::askAndChange(const std::vector<std::string>& paths, const std::vector<ItemAttributes>& items)
{
    const bool hasFolders
        = std::any_of(items.begin(), items.end(), [](const ItemAttributes& item) { return item.isFolder(); });
    const std::optional<AttributeChange> change = AttributesDialog::ask(
        &m_context.dialogParent, subjectOf(paths), AttributeForm(items, hasFolders));
    if (!change)
        return;
    startRecorded(m_context, std::make_shared<AttributesJob>(paths, *change));
    m_context.panels.active().setMarks({});
}

void AttributeCommands::makeLink()
{
    PanelViewController& source = m_context.panels.active();
    const std::optional<FileEntry> item = source.selectedEntry();
    if (!item || item->kind == FileEntry::Kind::parentDirectory)
        return;
    const PanelLocation& targetPlace = m_context.panels.other(source).state().location();
    const std::optional<std::string> target = source.state().location().door()->localPath(
        PathString::appendingComponent(source.state().location().folder(), item->name));
    if (!target || !targetPlace.door()->localPath(targetPlace.folder()) || targetPlace.isFound()) {
        refuse(linkTitle, QStringLiteral("Links are made only from and into folders on this computer's disk."));
        return;
    }
    const std::string name = PathString::lastComponent(*target);
    const auto answer = RetroDialogs::promptOr(&m_context.dialogParent, linkTitle,
        "Symbolic link to \"" + ShownText::of(name)
            + "\" named (OK holds the way from the link's folder, Absolute the full path):",
        ShownText::of(PathString::appendingComponent(targetPlace.folder(), name)), QStringLiteral("Absolute"));
    if (!answer || answer->first.isEmpty())
        return;
    const auto [folder, linkName] = TypedPath::destination(
        ShownText::bytesOf(answer->first), targetPlace.folder(), m_context.files.homeDirectoryPath(), name);
    const LinkText::Form form
        = answer->second == RetroDialogResponse::alternative ? LinkText::Form::absolute : LinkText::Form::relative;
    startRecorded(m_context,
        std::make_shared<LinkJob>(*target, PathString::appendingComponent(folder, linkName), form));
}

} // namespace kiv
