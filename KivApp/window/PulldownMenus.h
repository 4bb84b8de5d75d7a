#pragma once

#include "files/FileSystemService.h"
#include "toolkit/RetroMenuItem.h"

#include <vector>

namespace kiv {
class CommandLineField;
class FileOperationCommands;
class UndoCommands;
class NavigationCommands;
class PanelPair;
class SearchCommands;
class ShellCommands;
class ToolCommands;
class TrashCommands;
} // namespace kiv

// The contents of the five pulldown menus of the main window's menu bar.
namespace kiv::PulldownMenus {

// What the menus' entries act on.
struct Targets
{
    PanelPair& panels;
    FileOperationCommands& files;
    TrashCommands& trash;
    UndoCommands& history;
    ShellCommands& shell;
    ToolCommands& tools;
    NavigationCommands& navigation;
    SearchCommands& search;
    CommandLineField& commandLine;
    FileSystemService fileSystem; // where home is
};

// Returns the items of menu-bar title `index` ("Left", "Files", "Commands", "Options", "Right"
// for 0 to 4), each bound straight to the member of `targets` it runs, and running nothing once
// that object is gone, and each chosen by a letter of its title; no items for any other index.
std::vector<RetroMenuItem> items(int index, const Targets& targets);

} // namespace kiv::PulldownMenus
