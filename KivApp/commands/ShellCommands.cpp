#include "commands/ShellCommands.h"

#include "base/ErrorText.h"
#include "console/CommandLineField.h"
#include "console/ConsoleOutputView.h"
#include "console/LiveCommand.h"
#include "panels/PanelPair.h"
#include "panels/PanelTableView.h"
#include "panels/PanelViewController.h"
#include "shell/ChangeDirectoryLine.h"
#include "shell/UserMenuStore.h"
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
    ShowOverlay showOverlay, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_commandLine(commandLine)
    , m_content(content)
    , m_showOverlay(std::move(showOverlay))
{
}

void ShellCommands::showUserMenu()
{
    std::vector<RetroMenuItem> items;
    const UserMenuStore::Menu menu = UserMenuStore::load();
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

void ShellCommands::editUserMenuFile()
{
    UserMenuStore::load(); // only so that the file exists before the editor opens it
    m_context.panels.inactive().presentEditor(UserMenuStore::menuFilePath());
}

void ShellCommands::submitCommandLine()
{
    const QString line = m_commandLine.text();
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
    m_context.panels.active().tableView()->setFocus();
}

void ShellCommands::runInWorkingFolder(const std::string& command)
{
    const std::string folder = m_context.panels.active().state().location().nearestRealDirectory();
    removeConsoleOutput();
    auto* view = new ConsoleOutputView(ShownText::of(folder), ShownText::of(command));
    view->onDismiss = weakly(this, &ShellCommands::dismissConsoleOutput);
    m_showOverlay(view);
    m_consoleOutput = view;
    view->setFocus();
    // The command lives as long as its view, which the window owns.
    auto* running = new LiveCommand(command, folder, *view, view);
    // The command may have changed files either panel shows.
    running->onEnd = weakly(&m_context.panels, &PanelPair::reloadBoth);
}

ConsoleOutputView* ShellCommands::consoleOutput() const
{
    return m_consoleOutput;
}

void ShellCommands::dismissConsoleOutput()
{
    if (m_consoleOutput && m_consoleOutput->isRunning())
        return;
    // The panel takes the focus while the console is still shown, so the focus never passes
    // through whatever widget Qt would pick when a focused widget hides.
    m_context.panels.active().tableView()->setFocus();
    removeConsoleOutput();
}

void ShellCommands::removeConsoleOutput()
{
    ConsoleOutputView* view = std::exchange(m_consoleOutput, nullptr);
    if (!view)
        return;
    view->hide();
    // The console may be in the middle of the very key or click event that dismissed it.
    view->deleteLater();
}

} // namespace kiv
