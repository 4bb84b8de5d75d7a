#include "window/PulldownMenus.h"

#include "commands/FileOperationCommands.h"
#include "commands/HistoryCommands.h"
#include "commands/ShellCommands.h"
#include "commands/ToolCommands.h"
#include "commands/TrashCommands.h"
#include "console/CommandLineField.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "toolkit/Weakly.h"

namespace kiv::PulldownMenus {

namespace {

using Item = RetroMenuItem;

// The "Left" and "Right" menus differ only in the panel they act on.
std::vector<RetroMenuItem> panelMenu(PanelViewController& panel, const FileSystemService& fileSystem)
{
    return { Item::item("Refresh", weakly(&panel, &PanelViewController::reload)),
        Item::item("Toggle Hidden Files", weakly(&panel, &PanelViewController::toggleHidden)),
        Item::item("Go to Home Folder", weakly(&panel, [fileSystem](PanelViewController& homeward) {
            homeward.goTo(fileSystem.homeDirectoryPath());
        })) };
}

} // namespace

std::vector<RetroMenuItem> items(int index, const Targets& targets)
{
    using Files = FileOperationCommands;
    FileOperationCommands* files = &targets.files;
    ShellCommands* shell = &targets.shell;
    ToolCommands* tools = &targets.tools;
    switch (index) {
    case 0:
        return panelMenu(targets.panels.left(), targets.fileSystem);
    case 1:
        return { Item::item("Copy...  (F5)", weakly(files, &Files::copyOperation)),
            Item::item("Move / Rename...  (F6)", weakly(files, &Files::moveOperation)),
            Item::item("Make Directory...  (F7)", weakly(files, &Files::mkdirOperation)),
            Item::item("Delete...  (F8)", weakly(files, &Files::deleteOperation)),
            Item::item("Move to Trash  (Del)", weakly(&targets.trash, &TrashCommands::trashOperation)),
            Item::separator(),
            Item::item("Extract Archive to Other Panel", weakly(tools, &ToolCommands::extractArchive)),
            Item::item("Compare Directories", weakly(tools, &ToolCommands::compare)), Item::separator(),
            targets.history.undoMenuItem(), targets.history.redoMenuItem() };
    case 2:
        return { Item::item("User Menu...  (F2)", weakly(shell, &ShellCommands::showUserMenu)),
            Item::item("Edit User Menu File", weakly(shell, &ShellCommands::editUserMenuFile)),
            Item::item("Focus Command Line",
                weakly(&targets.commandLine, [](CommandLineField& field) { field.setFocus(); })) };
    case 3:
        return { Item::item("Toggle Hidden Files (Both Panels)",
                     weakly(&targets.panels, &PanelPair::toggleHiddenInBoth)),
            Item::item("About Tavrin", weakly(tools, &ToolCommands::showAbout)) };
    case 4:
        return panelMenu(targets.panels.right(), targets.fileSystem);
    default:
        return {};
    }
}

} // namespace kiv::PulldownMenus
