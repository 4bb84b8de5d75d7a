#include "window/PulldownMenus.h"

#include "commands/FileOperationCommands.h"
#include "commands/UndoCommands.h"
#include "commands/NavigationCommands.h"
#include "commands/SearchCommands.h"
#include "commands/ShellCommands.h"
#include "commands/ToolCommands.h"
#include "commands/TrashCommands.h"
#include "console/CommandLineField.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "toolkit/Weakly.h"
#include "window/SortKeys.h"

namespace kiv::PulldownMenus {

namespace {

using Item = RetroMenuItem;

// The "Left" and "Right" menus differ only in the panel they act on.
std::vector<RetroMenuItem> panelMenu(PanelViewController& panel, const FileSystemService& fileSystem)
{
    std::vector<RetroMenuItem> items { Item::item(
                                           "Refresh", weakly(&panel, &PanelViewController::reload), u'r'),
        Item::item("Toggle Hidden Files", weakly(&panel, &PanelViewController::toggleHidden), u't'),
        Item::item("Go to Home Folder",
            weakly(&panel,
                [fileSystem](
                    PanelViewController& homeward) { homeward.goTo(fileSystem.homeDirectoryPath()); }),
            u'h'),
        Item::item("Back  (Alt+Left)", weakly(&panel, &PanelViewController::goBack), u'b'),
        Item::item("Forward  (Alt+Right)", weakly(&panel, &PanelViewController::goForward), u'f'),
        Item::item(
            "Folder History...  (Alt+Down)", weakly(&panel, &PanelViewController::showHistoryMenu), u'y'),
        Item::separator() };
    for (const auto& sortKey : SortKeys::bindings) {
        items.push_back(Item::item(
            QStringLiteral("%1  (Ctrl+F%2)").arg(sortKey.title).arg(sortKey.functionKey),
            weakly(&panel, [key = sortKey.key](PanelViewController& sorted) { sorted.chooseSortKey(key); })));
    }
    return items;
}

} // namespace

std::vector<RetroMenuItem> items(int index, const Targets& targets)
{
    using Files = FileOperationCommands;
    FileOperationCommands* files = &targets.files;
    ShellCommands* shell = &targets.shell;
    ToolCommands* tools = &targets.tools;
    NavigationCommands* navigation = &targets.navigation;
    PanelPair* panels = &targets.panels;
    const auto onActivePanel = [panels](void (PanelViewController::*command)()) {
        return weakly(panels, [command](PanelPair& pair) { (pair.active().*command)(); });
    };
    switch (index) {
    case 0:
        return panelMenu(targets.panels.left(), targets.fileSystem);
    case 1:
        return { Item::item("Copy...  (F5)", weakly(files, &Files::copyOperation), u'c'),
            Item::item("Move / Rename...  (F6)", weakly(files, &Files::moveOperation), u'r'),
            Item::item("Make Directory...  (F7)", weakly(files, &Files::mkdirOperation), u'm'),
            Item::item("Delete...  (F8)", weakly(files, &Files::deleteOperation), u'd'),
            Item::item("Move to Trash  (Del)", weakly(&targets.trash, &TrashCommands::trashOperation), u't'),
            Item::separator(),
            Item::item("Extract Archive to Other Panel", weakly(tools, &ToolCommands::extractArchive), u'x'),
            Item::item("Compare Directories", weakly(tools, &ToolCommands::compare), u'p'),
            Item::item("Pack...  (Alt+F5)", weakly(tools, &ToolCommands::pack), u'a'), Item::separator(),
            Item::item("Select Group...  (+)",
                weakly(
                    panels, [](PanelPair& pair) { pair.active().selectGroup(PanelState::MarkChange::mark); }),
                u's'),
            Item::item("Unselect Group...  (-)",
                weakly(panels,
                    [](PanelPair& pair) { pair.active().selectGroup(PanelState::MarkChange::unmark); }),
                u'u'),
            Item::item("Invert Selection  (*)", onActivePanel(&PanelViewController::invertMarks), u'i'),
            Item::item("Folder Size  (Ctrl+Space)", weakly(&targets.search, &SearchCommands::measureFolders),
                u'z'),
            Item::separator(), targets.history.undoMenuItem(), targets.history.redoMenuItem() };
    case 2:
        return { Item::item("User Menu...  (F2)", weakly(shell, &ShellCommands::showUserMenu), u'u'),
            Item::item("Edit User Menu File", weakly(shell, &ShellCommands::editUserMenuFile), u'e'),
            Item::item("Focus Command Line",
                weakly(&targets.commandLine, [](CommandLineField& field) { field.setFocus(); }), u'f'),
            Item::item("Command Output  (Ctrl+O)", weakly(shell, &ShellCommands::showConsole), u't'),
            Item::item("Jobs...  (Ctrl+Shift+J)", weakly(tools, &ToolCommands::showJobs), u'j'),
            Item::item("Find File...  (Alt+F7)", weakly(&targets.search, &SearchCommands::findFile), u'i'),
            Item::separator(),
            Item::item("Swap Panels  (Ctrl+U)", weakly(navigation, &NavigationCommands::swapPanels), u'w'),
            Item::item("This Folder in Other Panel  (Ctrl+=)",
                weakly(navigation, &NavigationCommands::showActiveFolderInOtherPanel), u'o'),
            Item::item(
                "Folder Hotlist...  (Ctrl+D)", weakly(navigation, &NavigationCommands::showHotlist), u'l'),
            Item::item(
                "Go to Folder...  (Ctrl+G)", weakly(navigation, &NavigationCommands::goToFolder), u'g'),
            Item::item("Name to Command Line  (Ctrl+J)",
                weakly(navigation, &NavigationCommands::putNameInCommandLine), u'n') };
    case 3:
        return { Item::item("Toggle Hidden Files (Both Panels)",
                     weakly(&targets.panels, &PanelPair::toggleHiddenInBoth), u't'),
            Item::item("About Tavrin", weakly(tools, &ToolCommands::showAbout), u'a') };
    case 4:
        return panelMenu(targets.panels.right(), targets.fileSystem);
    default:
        return {};
    }
}

} // namespace kiv::PulldownMenus
