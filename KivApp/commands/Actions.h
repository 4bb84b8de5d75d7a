#pragma once

#include "commands/Action.h"

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace kiv {

class CommandLineField;
class CommandTable;
class FileOperationCommands;
class NavigationCommands;
class PanelPair;
class SearchCommands;
class ShellCommands;
class ToolCommands;
class TrashCommands;
class UndoCommands;

// The rows of the command table: every action of the main window, with its keys, menu entry and
// help, and the keys other windows answer, told in the help.
namespace Actions {

// What the rows' handlers act on; everything outlives the rows, which run nothing once the object
// they act on is gone.
struct Targets
{
    PanelPair& panels;
    QWidget& window;
    CommandLineField& commandLine;
    FileOperationCommands& files;
    TrashCommands& trash;
    UndoCommands& undo;
    ShellCommands& shell;
    ToolCommands& tools;
    NavigationCommands& navigation;
    SearchCommands& search;
    const CommandTable& table; // the help lists it
    std::string home;
    std::function<void()> openPulldowns;
};

// Returns every row, in the order the help and the menus list them.
std::vector<Action> all(const Targets& targets);

} // namespace Actions

} // namespace kiv
