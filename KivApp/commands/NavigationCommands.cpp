#include "commands/NavigationCommands.h"

#include "base/PathString.h"
#include "connectscreen/ConnectDialog.h"
#include "console/CommandLineField.h"
#include "files/FileSystemService.h"
#include "jobscreen/JobRunner.h"
#include "panels/PanelFrameView.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "remote/SftpConnectJob.h"
#include "remote/SftpDoor.h"
#include "shell/ShellQuote.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/RetroMenu.h"
#include "toolkit/ShownText.h"
#include "toolkit/Weakly.h"


namespace kiv {

namespace {

// Where a menu opened for the active panel hangs, inside that panel below its titles.
constexpr QPoint menuOffset(8, 36);

} // namespace

NavigationCommands::NavigationCommands(CommandContext context, CommandLineField& commandLine, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_commandLine(commandLine)
{
}

void NavigationCommands::swapPanels()
{
    PanelViewController& left = m_context.panels.left();
    PanelViewController& right = m_context.panels.right();
    const PanelLocation leftPlace = left.state().location();
    const std::string leftCursor = left.selectedEntry() ? left.selectedEntry()->name : std::string();
    const std::string rightCursor = right.selectedEntry() ? right.selectedEntry()->name : std::string();
    left.goTo(right.state().location(), rightCursor);
    right.goTo(leftPlace, leftCursor);
}

void NavigationCommands::showActiveFolderInOtherPanel()
{
    m_context.panels.inactive().goTo(m_context.panels.active().state().location(), {});
}

void NavigationCommands::showHotlist()
{
    const std::string here = m_context.panels.active().state().location().address();
    std::vector<RetroMenuItem> items;
    for (const auto& folder : m_hotlist.folders()) {
        items.push_back(RetroMenuItem::item(ShownText::of(folder),
            weakly(
                &m_context.panels.active(), [folder](PanelViewController& panel) { panel.goTo(folder); })));
    }
    if (!items.empty())
        items.push_back(RetroMenuItem::separator());
    const bool listed = m_hotlist.contains(here);
    items.push_back(RetroMenuItem::item(listed ? QStringLiteral("Remove this folder from the hotlist")
                                               : QStringLiteral("Add this folder to the hotlist"),
        weakly(this, [listed, here](NavigationCommands& commands) {
            commands.changeHotlist(listed ? &FolderHotlist::remove : &FolderHotlist::add, here);
        })));
    // On its first folder, so that Return goes there at once.
    RetroMenu::popUp(std::move(items), menuPoint(), &m_context.dialogParent, RetroMenu::Opening::firstHighlighted);
}

void NavigationCommands::changeHotlist(
    bool (FolderHotlist::*change)(const std::string&), const std::string& folder)
{
    if ((m_hotlist.*change)(folder) && onHotlistChanged)
        onHotlistChanged();
}

QPoint NavigationCommands::menuPoint() const
{
    return m_context.panels.active().view()->mapTo(&m_context.dialogParent, menuOffset);
}

void NavigationCommands::goToFolder()
{
    const PanelLocation& location = m_context.panels.active().state().location();
    const std::optional<QString> typed
        = RetroDialogs::prompt(&m_context.dialogParent, QStringLiteral("Go to folder"),
            QStringLiteral("Folder, file or sftp://user@host/folder (~ is your home folder):"),
            ShownText::of(location.address()));
    if (!typed || typed->isEmpty())
        return;
    const std::string text = ShownText::bytesOf(*typed);
    if (RemotePlace::looksRemote(text)) {
        connect(m_context.panels.active(), text);
        return;
    }
    // A path typed on a server's panel starts at this machine's home folder, never at the server's path.
    const std::string here
        = location.isRemote() ? m_context.files.homeDirectoryPath() : location.nearestRealDirectory();
    const std::string path = PathString::resolving(text, here);
    m_context.panels.active().goToItem(path);
}

void NavigationCommands::connect(PanelViewController& panel, const std::string& url)
{
    const std::optional<RemotePlace> place = RemotePlace::parse(url);
    if (!place) {
        RetroDialogs::message(&m_context.dialogParent, QStringLiteral("Go to folder"),
            QStringLiteral("Not a server's address: ") + ShownText::of(url)
                + QStringLiteral("\n\nWrite it as sftp://user@host:port/folder."));
        return;
    }
    connectTo(panel, *place);
}

void NavigationCommands::connectToServer()
{
    if (const std::optional<RemotePlace> place = ConnectDialog::ask(&m_context.dialogParent, {}))
        connectTo(m_context.panels.active(), *place);
}

void NavigationCommands::connectTo(PanelViewController& panel, const RemotePlace& place)
{
    auto job = std::make_shared<SftpConnectJob>(place);
    // The job's end reports a failure itself; a panel closed meanwhile goes nowhere.
    m_context.jobs.start(job, weakly(&panel, [job](PanelViewController& target, const JobOutcome&) {
        if (job->door())
            target.goTo(PanelLocation(job->door(), job->folder()), {});
    }));
}

void NavigationCommands::putNameInCommandLine()
{
    const std::optional<FileEntry> entry = m_context.panels.active().selectedEntry();
    if (!entry)
        return;
    m_commandLine.insert(ShownText::of(ShellQuote::quotedIfNeeded(entry->name)) + u' ');
}

} // namespace kiv
