#include "FileOperationCommands.h"

#include "MainWindowController.h"

namespace kiv {

FileOperationCommands::FileOperationCommands(MainWindowController& controller)
    : m_controller(controller)
{
}

void FileOperationCommands::viewOperation()
{
}

void FileOperationCommands::editOperation()
{
}

void FileOperationCommands::copyOperation()
{
}

void FileOperationCommands::moveOperation()
{
}

void FileOperationCommands::mkdirOperation()
{
}

void FileOperationCommands::deleteOperation()
{
}

} // namespace kiv
