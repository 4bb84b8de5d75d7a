#include "commands/ShellCommands.h"

#include "console/CommandLineField.h"
#include "console/ConsoleOutputView.h"
#include "panels/PanelPair.h"
#include "panels/PanelTableView.h"
#include "panels/PanelViewController.h"
#include "shell/UserMenuStore.h"
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
    for (const UserMenuItem& entry : UserMenuStore::load()) {
        const QString title = ShownText::of(entry.hotkey) + QStringLiteral("  ") + ShownText::of(entry.label);
        items.push_back(
            RetroMenuItem::item(title, weakly(this, [command = entry.command](ShellCommands& shell) {
                shell.runInWorkingFolder(command);
            })));
    }
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
    m_context.panels.inactive().presentEditor(UserMenuStore::menuFileURL());
}

void ShellCommands::submitCommandLine()
{
    const QString line = m_commandLine.text();
    m_commandLine.clear();
    if (line.isEmpty()) {
        leaveCommandLine();
        return;
    }
    m_history.add(line.toStdString());
    runInWorkingFolder(line.toStdString());
}

void ShellCommands::showOlderCommand()
{
    if (const auto line = m_history.older(m_commandLine.text().toStdString()))
        m_commandLine.setText(QString::fromStdString(*line));
}

void ShellCommands::showNewerCommand()
{
    if (const auto line = m_history.newer())
        m_commandLine.setText(QString::fromStdString(*line));
}

void ShellCommands::leaveCommandLine()
{
    m_context.panels.active().tableView()->setFocus();
}

void ShellCommands::runInWorkingFolder(const std::string& command)
{
    const std::string folder = m_context.panels.active().state().location().nearestRealDirectory();
    const ShellRunner::Result result = ShellRunner::runShellLine(command, folder);
    m_context.panels.reloadBoth(); // the command may have changed files either panel shows
    presentConsoleOutput(ShownText::of(folder), ShownText::of(command), result);
}

void ShellCommands::presentConsoleOutput(
    const QString& promptPath, const QString& command, const ShellRunner::Result& result)
{
    removeConsoleOutput();
    auto* view = new ConsoleOutputView(promptPath, command, result);
    view->onDismiss = weakly(this, &ShellCommands::dismissConsoleOutput);
    m_showOverlay(view);
    m_consoleOutput = view;
    view->setFocus();
}

ConsoleOutputView* ShellCommands::consoleOutput() const
{
    return m_consoleOutput;
}

void ShellCommands::dismissConsoleOutput()
{
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
