#include "commands/ShellCommands.h"

#include "base/ErrorText.h"
#include "commands/ServerGuard.h"
#include "commands/ViewEditCommands.h"
#include "console/CommandLineField.h"
#include "console/ConsoleView.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "shell/ChangeDirectoryLine.h"
#include "jobscreen/JobRunner.h"
#include "shell/UserMenuReadJob.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/RetroMenu.h"
#include "toolkit/ShownText.h"
#include "toolkit/Weakly.h"

#include <utility>

namespace kiv {

namespace {

// The user menu hangs from this point, measured from the content's left and bottom edges, so
// it covers the lower part of the panels, the command line and the key bar at any window size.
constexpr int userMenuLeft = 20;
constexpr int userMenuAboveBottom = 60;

} // namespace

ShellCommands::ShellCommands(CommandContext context, CommandLineField& commandLine, QWidget& content,
    ShowOverlay showOverlay, ViewEditCommands& viewEdit, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_commandLine(commandLine)
    , m_content(content)
    , m_viewEdit(viewEdit)
    , m_showOverlay(std::move(showOverlay))
{
}

void ShellCommands::showUserMenu()
{
    m_context.jobs.readBeside<UserMenuReadJob>(std::make_shared<UserMenuReadJob>(),
        weakly(this, [](ShellCommands& shell, UserMenuReadJob& read) { shell.popUpUserMenu(read.menu()); }));
}

void ShellCommands::popUpUserMenu(const UserMenuStore::Menu& menu)
{
    std::vector<RetroMenuItem> items;
    for (const UserMenuItem& entry : menu.items) {
        const QString hotkey = ShownText::of(entry.hotkey);
        const QString title = hotkey + QStringLiteral("  ") + ShownText::of(entry.label);
        items.push_back(RetroMenuItem::item(title,
            weakly(
                this, [command = entry.command](ShellCommands& shell) { shell.runInWorkingFolder(command); }),
            hotkey.size() == 1 ? hotkey[0] : QChar()));
    }
    // Shown, never chosen: the user learns which line to mend, and the good lines still work.
    for (const UserMenuStore::BadLine& line : menu.badLines)
        items.push_back(RetroMenuItem::item(
            QStringLiteral("Line %1 of the menu file: ").arg(line.number) + ShownText::of(line.reason), {}));
    if (!items.empty())
        items.push_back(RetroMenuItem::separator());
    items.push_back(RetroMenuItem::item(
        QStringLiteral("Edit menu file..."), weakly(this, &ShellCommands::editUserMenuFile)));
    RetroMenu::popUp(
        std::move(items), QPoint(userMenuLeft, m_content.height() - userMenuAboveBottom), &m_content);
}

// Read first only so that the file exists before the editor opens it.
void ShellCommands::editUserMenuFile()
{
    m_context.jobs.readBeside<UserMenuReadJob>(std::make_shared<UserMenuReadJob>(),
        weakly(this, [](ShellCommands& shell, UserMenuReadJob& read) { shell.m_viewEdit.editLocalFile(read.path()); }));
}

void ShellCommands::submitCommandLine()
{
    const QString line = m_commandLine.text();
    // The line stays, to be run once the panel is on a folder of this machine.
    if (!line.isEmpty()
        && ServerGuard::refused(
            m_context.dialogParent, QStringLiteral("Command"), { &m_context.panels.active() }))
        return;
    m_commandLine.clear();
    if (line.isEmpty()) {
        leaveCommandLine();
        return;
    }
    const std::string command = ShownText::bytesOf(line);
    m_history.add(command);
    if (!changeFolder(command))
        runInWorkingFolder(command);
}

bool ShellCommands::changeFolder(const std::string& line)
{
    PanelViewController& panel = m_context.panels.active();
    const std::string current = panel.state().location().nearestRealDirectory();
    try {
        const std::optional<std::string> target
            = ChangeDirectoryLine::target(line, current, m_previousFolders[&panel]);
        if (!target)
            return false;
        // A folder that cannot be listed leaves the panel where it was, and it says why.
        panel.goTo(*target, weakly(this, [&panel, current](ShellCommands& commands, bool arrived) {
            if (arrived && panel.state().location().nearestRealDirectory() != current)
                commands.m_previousFolders[&panel] = current;
        }));
    } catch (const std::exception& error) {
        RetroDialogs::message(
            &m_context.dialogParent, QStringLiteral("Change Folder"), ShownText::of(userMessage(error)));
    }
    leaveCommandLine();
    return true;
}

void ShellCommands::showOlderCommand()
{
    // Through the one reversible decoding both ways: a line may hold a name's bytes that are not UTF-8.
    if (const auto line = m_history.older(ShownText::bytesOf(m_commandLine.text())))
        m_commandLine.setText(ShownText::of(*line));
}

void ShellCommands::showNewerCommand()
{
    if (const auto line = m_history.newer())
        m_commandLine.setText(ShownText::of(*line));
}

void ShellCommands::leaveCommandLine()
{
    m_context.panels.active().focus();
}

void ShellCommands::runInWorkingFolder(const std::string& command)
{
    // One terminal at a time: a second command would take the keys the first one waits for.
    if (m_console && m_console->isRunning()) {
        RetroDialogs::message(&m_context.dialogParent, QStringLiteral("Command Running"),
            QStringLiteral("A command is still running; Ctrl+O shows it."));
        return;
    }
    if (ServerGuard::refused(
            m_context.dialogParent, QStringLiteral("Command"), { &m_context.panels.active() }))
        return;
    const std::string folder = m_context.panels.active().state().location().nearestRealDirectory();
    if (m_console)
        m_console->deleteLater();
    auto* console = new ConsoleView;
    console->onDismiss = weakly(this, &ShellCommands::hideConsole);
    console->onHide = weakly(this, &ShellCommands::hideConsole);
    // The command may have changed files either panel shows.
    console->onEnd = weakly(&m_context.panels, &PanelPair::reloadBoth);
    m_console = console;
    showConsole();
    console->start(command, folder);
}

ConsoleView* ShellCommands::console() const
{
    return m_consoleShown ? m_console.data() : nullptr;
}

void ShellCommands::showConsole()
{
    if (!m_console)
        return;
    m_showOverlay(m_console);
    m_consoleShown = true;
    m_console->setFocus();
}

void ShellCommands::hideConsole()
{
    if (!m_consoleShown)
        return;
    // The panel takes the focus while the console is still shown, so the focus never passes
    // through whatever widget Qt would pick when a focused widget hides.
    m_context.panels.active().focus();
    m_consoleShown = false;
    m_showOverlay(nullptr);
}

} // namespace kiv
