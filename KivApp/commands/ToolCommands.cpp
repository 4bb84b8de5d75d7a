#include "commands/ToolCommands.h"

#include "archives/ArchiveService.h"
#include "archives/ExtractJob.h"
#include "base/KivError.h"
#include "files/ArchiveFormat.h"
#include "files/PathString.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"
#include "panel/DirectoryComparer.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "toolkit/RetroDialogs.h"

#include <QCoreApplication>
#include <exception>

namespace kiv {

namespace {

// The archive suffixes, as the user reads them: separated by `separator`.
QString archiveSuffixes(std::string_view separator)
{
    return QString::fromStdString(ArchiveFormat::suffixList(separator));
}

// The blanks line the columns up in the fixed-pitch font.
const QString& helpText()
{
    static const QString text
        = QStringLiteral("F1  Help            F2  User Menu        F3  View\n"
                         "F4  Edit            F5  Copy             F6  Move / Rename\n"
                         "F7  Make Directory  F8  Delete           F9  Pulldown Menu\n"
                         "F10 Quit\n"
                         "\n"
                         "Tab             Switch active panel\n"
                         "Space           Mark / unmark file\n"
                         "Return          Open directory, archive, or file\n"
                         "Backspace       Go to parent directory (\"..\")\n"
                         "Delete          Move to trash\n"
                         "Ctrl+Z          Undo last file operation\n"
                         "Ctrl+Shift+Z    Redo what was undone\n"
                         "Return (cmd line) Run a shell command in the active panel's folder\n"
                         "\n"
                         "Undo remembers the operations of this run only.\n"
                         "\n"
                         "Archives (")
        + archiveSuffixes(", ")
        + QStringLiteral(") can be entered like folders;\n"
                         "use Copy (F5) to extract marked items into the other panel.");
    return text;
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

void ToolCommands::showHelp()
{
    RetroDialogs::message(&m_context.dialogParent, QStringLiteral("Tavrin - Help"), helpText());
}

void ToolCommands::showAbout()
{
    RetroDialogs::message(&m_context.dialogParent, QStringLiteral("Tavrin"), aboutText());
}

void ToolCommands::quit()
{
    if (confirmQuit())
        QCoreApplication::exit(0);
}

bool ToolCommands::confirmQuit()
{
    return RetroDialogs::confirm(
        &m_context.dialogParent, QStringLiteral("Quit"), QStringLiteral("Quit Tavrin?"));
}

void ToolCommands::extractArchive()
{
    PanelPair& panels = m_context.panels;
    const std::optional<FileEntry> entry = panels.active().selectedEntry();
    if (!entry || entry->kind != FileEntry::Kind::archive) {
        tellAboutExtraction("Select a " + archiveSuffixes("/") + " file first.");
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
    try {
        JobControl control;
        ExtractJob job(PathString::appendingComponent(here.path(), entry->name), {}, there.path());
        const JobOutcome outcome = JobThread::runHere(job, control);
        if (outcome.end != JobOutcome::End::completed)
            throw KivError::operationFailed(outcome.summary);
    } catch (const std::exception& error) {
        // A refused extraction may still have placed every member that was not in the way.
        panels.reloadBoth();
        RetroDialogs::error(&m_context.dialogParent, error);
        return;
    }
    panels.reloadBoth(); // both, in case the two panels show the same folder
}

void ToolCommands::tellAboutExtraction(const QString& text)
{
    RetroDialogs::message(&m_context.dialogParent, QStringLiteral("Extract Archive"), text);
}

void ToolCommands::compare()
{
    PanelViewController& left = m_context.panels.left();
    PanelViewController& right = m_context.panels.right();
    m_context.panels.reloadBoth(); // compare what is on disk now, not what was there at the last listing
    const DirectoryComparer::Result result
        = DirectoryComparer::compare(left.state().entries(), right.state().entries());
    left.setMarks({ result.leftDifferent.begin(), result.leftDifferent.end() });
    right.setMarks({ result.rightDifferent.begin(), result.rightDifferent.end() });
    RetroDialogs::message(&m_context.dialogParent, QStringLiteral("Compare Directories"),
        QStringLiteral("%1 item(s) marked on the left, %2 on the right.")
            .arg(result.leftDifferent.size())
            .arg(result.rightDifferent.size()));
}

} // namespace kiv
