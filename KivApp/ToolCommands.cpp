#include "ToolCommands.h"

#include "MainWindowController.h"

namespace kiv {

ToolCommands::ToolCommands(MainWindowController& controller)
    : m_controller(controller)
{
}

void ToolCommands::showHelp()
{
}

void ToolCommands::showUserMenu()
{
}

void ToolCommands::runUserMenuItem(const UserMenuItem&)
{
}

void ToolCommands::editUserMenuFile()
{
}

void ToolCommands::submitCommandLine()
{
}

void ToolCommands::presentConsoleOutput(const QString&, const QString&, const ShellRunner::Result&)
{
}

void ToolCommands::dismissConsoleOutput()
{
}

void ToolCommands::menuExtractArchive()
{
}

void ToolCommands::menuCompare()
{
}

void ToolCommands::showAbout()
{
}

} // namespace kiv
