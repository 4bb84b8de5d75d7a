#include "commands/ToolCommands.h"

#include "archives/ArchiveService.h"
#include "archives/ExtractJob.h"
#include "archives/PackJob.h"
#include "base/ArchiveFormat.h"
#include "base/PathString.h"
#include "commands/CommandTable.h"
#include "commands/HelpText.h"
#include "commands/ServerGuard.h"
#include "commands/UndoRecording.h"
#include "files/FileSystemService.h"
#include "files/TypedPath.h"
#include "jobscreen/JobListDialog.h"
#include "jobscreen/JobRunner.h"
#include "panel/DirectoryComparer.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "text/KivFormat.h"
#include "toolkit/RetroDialogView.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/ShownText.h"
#include "toolkit/Weakly.h"
#include "viewer/PanelEditorView.h"

#include <QCoreApplication>
#include <QWidget>
#include <exception>

namespace kiv {

namespace {

// The archive suffixes, as the user reads them: separated by `separator`.
QString archiveSuffixes(std::string_view separator)
{
    return QString::fromStdString(ArchiveFormat::suffixList(separator));
}

// What the help says after the keys.
QString archivesParagraph(const CommandTable& table)
{
    const Action* copy = table.action("copy");
    const QString copyKey
        = copy ? QStringLiteral(" (") + CommandTable::keyName(copy->keys.front()) + ')' : QString();
    return QStringLiteral("Archives (") + archiveSuffixes(", ") + QStringLiteral(") open like folders;\nCopy")
        + copyKey + QStringLiteral(" extracts marked members into the other panel.");
}

const QString& aboutText()
{
    static const QString text = QStringLiteral(
        "Tavrin is a dual-pane file manager for the keyboard, drawn in the blue text-mode look of "
        "classic console programs: two folders side by side, a command line below them and the "
        "function keys along the bottom.\n"
        "\n"
        "Mark files with Space, then copy, move, rename or delete them between the panels with "
        "the function keys. Archives open like folders, and the output of shell commands and of "
        "your own user menu (F2) fills the whole window until you press a key.\n"
        "\n"
        "Press F1 for the keys.");
    return text;
}

} // namespace

ToolCommands::ToolCommands(CommandContext context, QObject* parent)
    : QObject(parent)
    , m_context(context)
{
}

void ToolCommands::showHelp(const CommandTable& table)
{
    // Laid out for the window's width, so the help is never wider than the window.
    const int columns = RetroDialogView::listingColumns(m_context.dialogParent.window()->width());
    RetroDialogs::listing(&m_context.dialogParent, QStringLiteral("Tavrin - Help"),
        HelpText::compose(table.actions(), columns, archivesParagraph(table)));
}

void ToolCommands::showAbout()
{
    RetroDialogs::message(&m_context.dialogParent, QStringLiteral("Tavrin"), aboutText());
}

bool ToolCommands::quit()
{
    if (!confirmLeavingEditors([this] { quit(); }))
        return false;
    // While jobs run, their question (cancel them and quit?) stands in for the plain one.
    const bool yes = m_context.jobs.isIdle() ? RetroDialogs::confirm(
                         &m_context.dialogParent, QStringLiteral("Quit"), QStringLiteral("Quit Tavrin?"))
                                             : m_context.jobs.confirmQuit();
    if (!yes)
        return false;
    // Not just this window: an open viewer would keep the program running without it.
    QCoreApplication::exit(0);
    return true;
}

void ToolCommands::quitAtOnce()
{
    if (confirmLeavingEditors([this] { quitAtOnce(); }) && m_context.jobs.confirmQuit())
        QCoreApplication::exit(0);
}

// An editor answered "Save" closes once the text is written: the quit goes on from there.
bool ToolCommands::confirmLeavingEditors(const std::function<void()>& goOn)
{
    for (PanelViewController* panel : { &m_context.panels.left(), &m_context.panels.right() }) {
        if (PanelEditorView* editor = panel->editorView(); editor && !editor->confirmClose()) {
            editor->whenClosedBySave(weakly(this, [goOn](ToolCommands&) { goOn(); }));
            return false;
        }
    }
    return true;
}

void ToolCommands::extractArchive()
{
    PanelPair& panels = m_context.panels;
    const std::optional<FileEntry> entry = panels.active().selectedEntry();
    if (ServerGuard::refused(m_context.dialogParent, QStringLiteral("Extract Archive"),
            { &panels.active(), &panels.inactive() }))
        return;
    if (!entry || entry->kind != FileEntry::Kind::archive) {
        tellAboutExtraction(QStringLiteral("Select an archive file first."));
        return;
    }
    const PanelLocation& here = panels.active().state().location();
    if (here.isArchive()) {
        tellAboutExtraction(QStringLiteral(
            "An archive inside an archive can't be extracted here. Copy it out with F5 first."));
        return;
    }
    const PanelLocation& there = panels.inactive().state().location();
    if (there.isArchive()) {
        tellAboutExtraction(QStringLiteral("The other panel needs to be on a real folder."));
        return;
    }
    const auto job = std::make_shared<ExtractJob>(PathString::appendingComponent(here.path(), entry->name),
        std::vector<ExtractJob::Member> {}, there.path());
    UndoRecording::start(m_context, job, job->report(), OperationRecord::Kind::extract);
}

void ToolCommands::showJobs()
{
    JobListDialog::show(&m_context.dialogParent, m_context.jobs);
}

void ToolCommands::pack()
{
    PanelPair& panels = m_context.panels;
    if (ServerGuard::refused(
            m_context.dialogParent, QStringLiteral("Pack"), { &panels.active(), &panels.inactive() }))
        return;
    const PanelLocation& here = panels.active().state().location();
    const PanelLocation& there = panels.inactive().state().location();
    const std::vector<FileEntry> items = panels.active().state().selectionForOperation();
    if (items.empty())
        return;
    if (here.isArchive() || there.isArchive()) {
        tellAboutPacking(QStringLiteral("Both panels need to be on real folders."));
        return;
    }
    // One item gives its name to the archive, several the folder that holds them.
    const std::string stem = items.size() == 1 ? items.front().name : PathString::lastComponent(here.path());
    const std::optional<QString> answer = RetroDialogs::prompt(&m_context.dialogParent,
        QStringLiteral("Pack"), QStringLiteral("Pack %1 into:").arg(QString::fromStdString(KivFormat::selectionCount(items.size()))),
        ShownText::of(PathString::appendingComponent(there.path(), stem + ".zip")));
    if (!answer || answer->isEmpty())
        return;
    const std::string archive
        = TypedPath::absolute(ShownText::bytesOf(*answer), here.path(), m_context.files.homeDirectoryPath());
    if (!PackJob::canWrite(archive)) {
        tellAboutPacking("The archive's name should end in "
            + QString::fromStdString(PackJob::writableSuffixes(", "))
            + QStringLiteral("; the format follows it."));
        return;
    }
    std::vector<std::string> sources;
    for (const FileEntry& item : items)
        sources.push_back(PathString::appendingComponent(here.path(), item.name));
    panels.active().setMarks({});
    const auto job = std::make_shared<PackJob>(std::move(sources), archive);
    UndoRecording::start(m_context, job, job->report(), OperationRecord::Kind::pack);
}

void ToolCommands::tellAboutPacking(const QString& text)
{
    RetroDialogs::message(&m_context.dialogParent, QStringLiteral("Pack"), text);
}

void ToolCommands::tellAboutExtraction(const QString& text)
{
    RetroDialogs::message(&m_context.dialogParent, QStringLiteral("Extract Archive"), text);
}

void ToolCommands::compare()
{
    m_context.panels.reloadBoth(); // compare what is on disk now, not what was there at the last listing
    m_context.panels.left().whenListed(weakly(this, [](ToolCommands& tools) {
        tools.m_context.panels.right().whenListed(weakly(&tools, &ToolCommands::markDifferences));
    }));
}

void ToolCommands::markDifferences()
{
    PanelViewController& left = m_context.panels.left();
    PanelViewController& right = m_context.panels.right();
    const DirectoryComparer::Result result
        = DirectoryComparer::compare(left.state().entries(), right.state().entries());
    left.setMarks({ result.leftDifferent.begin(), result.leftDifferent.end() });
    right.setMarks({ result.rightDifferent.begin(), result.rightDifferent.end() });
    RetroDialogs::message(&m_context.dialogParent, QStringLiteral("Compare Directories"),
        QStringLiteral("%1 marked on the left, %2 on the right.")
            .arg(QString::fromStdString(KivFormat::selectionCount(result.leftDifferent.size())))
            .arg(result.rightDifferent.size()));
}

} // namespace kiv
