#pragma once

#include "commands/Action.h"

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace kiv {

class AttributeCommands;
class ClipboardCommands;
class CommandLineField;
class CommandTable;
class ComparisonCommands;
class FileOperationCommands;
class ViewEditCommands;
class NavigationCommands;
class OpenWithCommands;
class PanelPair;
class QuickViewCommands;
class RenameCommands;
class SearchCommands;
class TabCommands;
class ShellCommands;
class ToolCommands;
class TrashCommands;
class UndoCommands;

// The rows of the command table: every action of the main window, with its keys, menu entry and
// help, and the keys other windows answer, told in the help.
namespace Actions {

// What the rows' handlers act on. The rows run nothing once the object they act on is gone; a row
// whose object is null has no handler, so rows made without targets are only told (the manual).
struct Targets
{
    PanelPair* panels = nullptr;
    QWidget* window = nullptr;
    CommandLineField* commandLine = nullptr;
    FileOperationCommands* files = nullptr;
    TrashCommands* trash = nullptr;
    UndoCommands* undo = nullptr;
    ShellCommands* shell = nullptr;
    ToolCommands* tools = nullptr;
    NavigationCommands* navigation = nullptr;
    SearchCommands* search = nullptr;
    ClipboardCommands* clipboard = nullptr;
    AttributeCommands* attributes = nullptr;
    QuickViewCommands* quickView = nullptr;
    OpenWithCommands* openWith = nullptr;
    const CommandTable* table = nullptr; // the help lists it
    std::string home;
    std::function<void()> openPulldowns;
    RenameCommands* rename = nullptr;
    ComparisonCommands* comparison = nullptr;
    TabCommands* tabs = nullptr;
    ViewEditCommands* viewEdit = nullptr;
};

// Returns every row, in the order the help and the menus list them.
std::vector<Action> all(const Targets& targets = {});

} // namespace Actions

} // namespace kiv
