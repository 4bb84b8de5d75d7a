#include "commands/Actions.h"

#include "commands/AttributeCommands.h"
#include "commands/ClipboardCommands.h"
#include "commands/ComparisonCommands.h"
#include "commands/FileOperationCommands.h"
#include "commands/NavigationCommands.h"
#include "commands/OpenWithCommands.h"
#include "commands/PanelPrompts.h"
#include "commands/QuickViewCommands.h"
#include "commands/RenameCommands.h"
#include "commands/SearchCommands.h"
#include "commands/ShellCommands.h"
#include "commands/TabCommands.h"
#include "commands/ToolCommands.h"
#include "commands/TrashCommands.h"
#include "commands/UndoCommands.h"
#include "commands/ViewEditCommands.h"
#include "console/CommandLineField.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "toolkit/Weakly.h"

#include <QPointer>
#include <QWidget>

namespace kiv::Actions {

namespace {

using Place = Action::Place;
using Pulldown = Action::Pulldown;
using Entry = Action::MenuEntry;
using Handler = Action::Handler;
constexpr Action::When anywhere = Action::anywhere;
constexpr Action::When panelList = Action::panel;
constexpr Action::When commandLine = Action::commandLine;
constexpr auto noMenu = std::nullopt;

QKeySequence ctrl(Qt::Key key)
{
    return QKeySequence(Qt::ControlModifier | key);
}

QKeySequence ctrlShift(Qt::Key key)
{
    return QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | key);
}

QKeySequence alt(Qt::Key key)
{
    return QKeySequence(Qt::AltModifier | key);
}

// The Control key as a terminal knows it, which Qt calls Meta on macOS.
QKeySequence control(Qt::Key key)
{
#ifdef Q_OS_MACOS
    return QKeySequence(Qt::MetaModifier | key);
#else
    return QKeySequence(Qt::ControlModifier | key);
#endif
}

// Runs `member` of `object` while it exists, whichever panel the action is for; none without one.
template <class T, class F> Handler on(T* object, F member)
{
    if (!object)
        return {};
    return [run = weakly(object, member)](PanelViewController&) { run(); };
}

// Runs `member` of `object` with the panel the action is for, while the object exists.
template <class T, class F> Handler withPanel(T* object, F member)
{
    if (!object)
        return {};
    return [run = weakly(object, member)](PanelViewController& panel) { run(panel); };
}

// What undo or redo would act on now, told beside its entry.
std::function<std::optional<QString>()> nextOf(
    UndoCommands* undo, std::optional<QString> (UndoCommands::*next)() const)
{
    if (!undo)
        return {};
    return [undo, next] { return (undo->*next)(); };
}

// Runs `member` of the panel the action is for.
template <class F> Handler onPanel(F member)
{
    return [member](PanelViewController& panel) { std::invoke(member, panel); };
}

// Tab: into the quick view that follows the panel, else to the other panel.
Handler switchPanel(const Targets& t)
{
    if (!t.panels)
        return {};
    return [panels = QPointer<PanelPair>(t.panels), quickView = QPointer<QuickViewCommands>(t.quickView)](
               PanelViewController& panel) {
        if (panels && !(quickView && quickView->takeKeyboardFrom(panel)))
            panels->other(panel).focus();
    };
}

Handler sortBy(SortOrder::Key key)
{
    return [key](PanelViewController& panel) { panel.chooseSortKey(key); };
}

// The function keys, the keys of the File and Commands menus, and the window's own.
std::vector<Action> commandRows(const Targets& t)
{
    using Files = FileOperationCommands;
    using Shell = ShellCommands;
    return {
        { "help", Place::panels, { Qt::Key_F1 }, "Help: this list", noMenu, anywhere,
            on(t.tools, [table = t.table](ToolCommands& tools) { tools.showHelp(*table); }) },
        { "user-menu", Place::panels, { Qt::Key_F2 }, "User menu (its entries run on their hot keys)",
            Entry { Pulldown::commands, 1, "User Menu...", u'u' }, anywhere,
            on(t.shell, &Shell::showUserMenu) },
        { "edit-user-menu", Place::panels, {}, {},
            Entry { Pulldown::commands, 1, "Edit User Menu File", u'e' }, anywhere,
            on(t.shell, &Shell::editUserMenuFile) },
        { "view", Place::panels, { Qt::Key_F3 }, "View the file under the cursor", noMenu, anywhere,
            on(t.viewEdit, &ViewEditCommands::viewOperation) },
        { "edit", Place::panels, { Qt::Key_F4 }, "Edit the file under the cursor", noMenu, anywhere,
            on(t.viewEdit, &ViewEditCommands::editOperation) },
        { "copy", Place::panels, { Qt::Key_F5 }, "Copy the marked files or the cursor's to the other panel",
            Entry { Pulldown::files, 1, "Copy...", u'c' }, anywhere, on(t.files, &Files::copyOperation) },
        { "move", Place::panels, { Qt::Key_F6 }, "Move / rename",
            Entry { Pulldown::files, 1, "Move / Rename...", u'r' }, anywhere,
            on(t.files, &Files::moveOperation) },
        { "make-folder", Place::panels, { Qt::Key_F7 }, "Make a folder",
            Entry { Pulldown::files, 1, "Make Directory...", u'm' }, anywhere,
            on(t.files, &Files::mkdirOperation) },
        { "delete", Place::panels, { Qt::Key_F8 }, "Delete", Entry { Pulldown::files, 1, "Delete...", u'd' },
            anywhere, on(t.files, &Files::deleteOperation) },
        { "trash", Place::panels, { Qt::Key_Delete }, "Move the marked files or the cursor's to the trash",
            Entry { Pulldown::files, 1, "Move to Trash", u't' }, panelList,
            on(t.trash, &TrashCommands::trashOperation) },
        { "clipboard-copy", Place::panels, { ctrl(Qt::Key_C) },
            "Put the marked files or the cursor's on the desktop's clipboard, to be copied",
            Entry { Pulldown::files, 5, "Copy to Clipboard", u'y' }, panelList,
            withPanel(t.clipboard, &ClipboardCommands::copyFiles) },
        { "clipboard-cut", Place::panels, { ctrl(Qt::Key_X) },
            "Put them there to be moved (cut)", Entry { Pulldown::files, 5, "Cut to Clipboard", u'l' },
            panelList, withPanel(t.clipboard, &ClipboardCommands::cutFiles) },
        { "clipboard-paste", Place::panels, { ctrl(Qt::Key_V) },
            "Copy the clipboard's files here, or move them when they were cut",
            Entry { Pulldown::files, 5, "Paste from Clipboard", u'b' }, panelList,
            withPanel(t.clipboard, &ClipboardCommands::paste) },
        { "open-with", Place::panels, { QKeySequence(Qt::ShiftModifier | Qt::Key_Return) },
            "Open the file with an application chosen from those the desktop knows for it",
            Entry { Pulldown::files, 5, "Open With...", u'w' }, panelList,
            withPanel(t.openWith, &OpenWithCommands::chooseApplication) },
        { "undo", Place::panels, { ctrl(Qt::Key_Z) },
            "Undo the last file operation (those of this run only, never F8)",
            Entry { Pulldown::files, 4, "Undo", u'o', nextOf(t.undo, &UndoCommands::nextUndo) }, panelList,
            on(t.undo, &UndoCommands::undoOperation) },
        { "redo", Place::panels, { ctrlShift(Qt::Key_Z) }, "Redo what was undone",
            Entry { Pulldown::files, 4, "Redo", u'e', nextOf(t.undo, &UndoCommands::nextRedo) }, panelList,
            on(t.undo, &UndoCommands::redoOperation) },
        { "extract", Place::panels, { ctrlShift(Qt::Key_X) },
            "Extract the archive under the cursor into the other panel's folder",
            Entry { Pulldown::files, 2, "Extract Archive to Other Panel", u'x' }, anywhere,
            on(t.tools, &ToolCommands::extractArchive) },
        { "compare", Place::panels, { ctrlShift(Qt::Key_D) },
            "Compare the two panels' folders: mark the names that differ",
            Entry { Pulldown::files, 2, "Compare Directories", u'p' }, anywhere,
            on(t.tools, &ToolCommands::compare) },
        { "pack", Place::panels, { alt(Qt::Key_F5) },
            "Pack the marked files or the cursor's into a new archive",
            Entry { Pulldown::files, 2, "Pack...", u'a' }, anywhere, on(t.tools, &ToolCommands::pack) },
        { "attributes", Place::panels, { ctrl(Qt::Key_A) },
            "Attributes of the marked items or the cursor's: permissions, owner, group, time",
            Entry { Pulldown::files, 2, "Change Attributes...", u'h' }, panelList,
            on(t.attributes, &AttributeCommands::changeAttributes) },
        { "make-link", Place::panels, { ctrl(Qt::Key_L) },
            "Make a symbolic link to the cursor's item in the other panel",
            Entry { Pulldown::files, 2, "Make Link...", u'k' }, panelList, on(t.attributes, &AttributeCommands::makeLink) },
        { "pulldowns", Place::panels, { Qt::Key_F9 }, "Pulldown menus", noMenu, anywhere,
            t.openPulldowns ? Handler([open = t.openPulldowns](PanelViewController&) { open(); })
                            : Handler() },
        { "quit", Place::panels, { Qt::Key_F10 }, "Quit", noMenu, anywhere,
            on(t.tools, &ToolCommands::quit) },
        { "quit-at-once", Place::panels, { ctrl(Qt::Key_Q) },
            "Quit at once (asks only about unsaved editor text and running jobs)", noMenu, anywhere,
            on(t.tools, &ToolCommands::quitAtOnce) },
        { "minimise", Place::panels, { ctrl(Qt::Key_H) }, "Minimise the window", noMenu, anywhere,
            on(t.window, &QWidget::showMinimized) },
        { "focus-command-line", Place::panels, { ctrl(Qt::Key_E) },
            "To the command line (typing in a panel searches its names)",
            Entry { Pulldown::commands, 1, "Focus Command Line", u'f' }, panelList,
            on(t.commandLine, [](CommandLineField& field) { field.setFocus(); }) },
        { "show-console", Place::panels, { ctrl(Qt::Key_O) },
            "The last command's screen and scrollback again",
            Entry { Pulldown::commands, 1, "Command Output", u't' }, anywhere,
            on(t.shell, &Shell::showConsole) },
        { "jobs", Place::panels, { ctrlShift(Qt::Key_J) }, "Jobs: those running and waiting",
            Entry { Pulldown::commands, 1, "Jobs...", u'j' }, anywhere,
            on(t.tools, &ToolCommands::showJobs) },
        { "switch-panel", Place::panels, { Qt::Key_Tab, QKeySequence(Qt::ShiftModifier | Qt::Key_Tab) },
            "Switch to the other panel (or into the quick view)", noMenu, panelList, switchPanel(t) },
        { "mark", Place::panels, { Qt::Key_Space, Qt::Key_Insert }, "Mark / unmark, then down a row" },
        { "open", Place::panels, { Qt::Key_Return }, "Enter the folder or archive, or open the file", noMenu,
            panelList, onPanel(&PanelViewController::activateSelection) },
        { "select-group", Place::panels, { Qt::Key_Plus }, "Mark the names that match patterns (*.txt; *.md)",
            Entry { Pulldown::files, 3, "Select Group...", u's' }, panelList,
            [](PanelViewController& panel) { PanelPrompts::selectGroup(panel, PanelState::MarkChange::mark); } },
        { "unselect-group", Place::panels, { Qt::Key_Minus }, "Unmark the names that match patterns",
            Entry { Pulldown::files, 3, "Unselect Group...", u'u' }, panelList,
            [](PanelViewController& panel) { PanelPrompts::selectGroup(panel, PanelState::MarkChange::unmark); } },
        { "invert-marks", Place::panels, { Qt::Key_Asterisk }, "Invert the marks",
            Entry { Pulldown::files, 3, "Invert Selection", u'i' }, panelList,
            onPanel(&PanelViewController::invertMarks) },
    };
}

// The keys of the "Left" and "Right" menus, each acting there on its own panel, and the rest of
// the panel's keys.
std::vector<Action> panelRows(const Targets& t)
{
    using Navigation = NavigationCommands;
    using Panel = PanelViewController;
    return {
        { "refresh", Place::panels, { ctrl(Qt::Key_R) }, "Read the folder again",
            Entry { Pulldown::panel, 1, "Refresh", u'r' }, anywhere, onPanel(&Panel::reload) },
        { "toggle-hidden", Place::panels, {}, {}, Entry { Pulldown::panel, 1, "Toggle Hidden Files", u't' },
            anywhere, onPanel(&Panel::toggleHidden) },
        { "go-home", Place::panels, {}, {}, Entry { Pulldown::panel, 1, "Go to Home Folder", u'h' }, anywhere,
            [home = t.home](Panel& panel) { panel.goTo(home); } },
        { "sort-by-name", Place::panels, { ctrl(Qt::Key_F3) }, "Sort by name (again: reversed)",
            Entry { Pulldown::panel, 2, "Sort by Name", u'n' }, anywhere, sortBy(SortOrder::Key::name) },
        { "sort-by-extension", Place::panels, { ctrl(Qt::Key_F4) }, "Sort by extension (again: reversed)",
            Entry { Pulldown::panel, 2, "Sort by Extension", u'e' }, anywhere,
            sortBy(SortOrder::Key::extension) },
        { "sort-by-time", Place::panels, { ctrl(Qt::Key_F5) }, "Sort by modification time (again: reversed)",
            Entry { Pulldown::panel, 2, "Sort by Time", u'm' }, anywhere,
            sortBy(SortOrder::Key::modificationTime) },
        { "sort-by-size", Place::panels, { ctrl(Qt::Key_F6) }, "Sort by size (again: reversed)",
            Entry { Pulldown::panel, 2, "Sort by Size", u'z' }, anywhere, sortBy(SortOrder::Key::size) },
        { "unsorted", Place::panels, { ctrl(Qt::Key_F7) }, "Leave the rows as the file system lists them",
            Entry { Pulldown::panel, 2, "Unsorted", u'u' }, anywhere, sortBy(SortOrder::Key::unsorted) },
        { "swap-panels", Place::panels, { ctrl(Qt::Key_U) }, "Swap the panels",
            Entry { Pulldown::commands, 2, "Swap Panels", u'w' }, anywhere,
            on(t.navigation, &Navigation::swapPanels) },
        { "folder-to-other-panel", Place::panels, { ctrl(Qt::Key_Equal) }, "This folder in the other panel",
            Entry { Pulldown::commands, 2, "This Folder in Other Panel", u'o' }, anywhere,
            on(t.navigation, &Navigation::showActiveFolderInOtherPanel) },
        { "back", Place::panels, { alt(Qt::Key_Left) }, "Back to the folder before",
            Entry { Pulldown::panel, 1, "Back", u'b' }, panelList, onPanel(&Panel::goBack) },
        { "forward", Place::panels, { alt(Qt::Key_Right) }, "Forward again",
            Entry { Pulldown::panel, 1, "Forward", u'f' }, panelList, onPanel(&Panel::goForward) },
        { "folder-history", Place::panels, { alt(Qt::Key_Down) }, "The panel's folder history",
            Entry { Pulldown::panel, 1, "Folder History...", u'y' }, panelList,
            PanelPrompts::showHistoryMenu },
        { "quick-view", Place::panels, { alt(Qt::Key_Q) },
            "Quick view of the cursor's item in the other panel (Tab into it and back; again: the panel)",
            Entry { Pulldown::panel, 1, "Quick View", u'q' }, anywhere, withPanel(t.quickView, &QuickViewCommands::toggle) },
        { "folder-size", Place::panels, { ctrl(Qt::Key_Space) },
            "Measure the marked folders or the cursor's (size in the Size column)",
            Entry { Pulldown::files, 3, "Folder Size", u'z' }, anywhere,
            on(t.search, &SearchCommands::measureFolders) },
        { "find-file", Place::panels, { alt(Qt::Key_F7) }, "Find files by name and text below a folder",
            Entry { Pulldown::commands, 1, "Find File...", u'i' }, anywhere,
            on(t.search, &SearchCommands::findFile) },
        { "hotlist", Place::panels, { ctrl(Qt::Key_D) }, "Folder hotlist: go, add this folder, remove",
            Entry { Pulldown::commands, 2, "Folder Hotlist...", u'l' }, anywhere,
            on(t.navigation, &Navigation::showHotlist) },
        { "go-to-folder", Place::panels, { ctrl(Qt::Key_G) },
            "Go to a folder or file by its path (~ is home), or sftp://user@host/folder",
            Entry { Pulldown::commands, 2, "Go to Folder...", u'g' }, anywhere,
            on(t.navigation, &Navigation::goToFolder) },
        { "connect-to-server", Place::panels, { ctrlShift(Qt::Key_G) },
            "Connect to a server's folder (sftp): host, port, user and folder",
            Entry { Pulldown::commands, 2, "Connect to Server...", u'r' }, anywhere,
            on(t.navigation, &Navigation::connectToServer) },
        { "name-to-command-line", Place::panels, { ctrl(Qt::Key_J), ctrl(Qt::Key_Return) },
            "Put the name under the cursor into the command line",
            Entry { Pulldown::commands, 2, "Name to Command Line", u'n' }, anywhere,
            on(t.navigation, &Navigation::putNameInCommandLine) },
        { "parent", Place::panels, { Qt::Key_Backspace },
            "Up to the parent folder (the cursor lands on the one left)", noMenu, panelList,
            onPanel(&Panel::goToParent) },
        { "stop-listing", Place::panels, { Qt::Key_Escape }, "Stop reading a slow folder (the panel stays)",
            noMenu, panelList, onPanel(&Panel::stopListing) },
        { "cursor-up", Place::panels, { Qt::Key_Up }, "Cursor up a row" },
        { "cursor-down", Place::panels, { Qt::Key_Down }, "Cursor down a row" },
        { "page-up", Place::panels, { Qt::Key_PageUp }, "Cursor up a page" },
        { "page-down", Place::panels, { Qt::Key_PageDown }, "Cursor down a page" },
        { "first-row", Place::panels, { Qt::Key_Home }, "First row" },
        { "last-row", Place::panels, { Qt::Key_End }, "Last row" },
        { "new-tab", Place::panels, { ctrl(Qt::Key_T) }, "A new tab on this folder",
            Entry { Pulldown::panel, 3, "New Tab", u'a' }, panelList, withPanel(t.tabs, &TabCommands::openTab) },
        { "close-tab", Place::panels, { ctrl(Qt::Key_W) }, "Close the tab (the last one stays)",
            Entry { Pulldown::panel, 3, "Close Tab", u'c' }, panelList, withPanel(t.tabs, &TabCommands::closeTab) },
        { "next-tab", Place::panels, { ctrl(Qt::Key_PageDown) }, "The next tab",
            Entry { Pulldown::panel, 3, "Next Tab", u'x' }, panelList, withPanel(t.tabs, &TabCommands::nextTab) },
        { "previous-tab", Place::panels, { ctrl(Qt::Key_PageUp) }, "The previous tab",
            Entry { Pulldown::panel, 3, "Previous Tab", u'p' }, panelList, withPanel(t.tabs, &TabCommands::previousTab) },
        { "hidden-in-both", Place::panels, {}, {},
            Entry { Pulldown::options, 1, "Toggle Hidden Files (Both Panels)", u't' }, anywhere,
            on(t.panels, &PanelPair::toggleHiddenInBoth) },
        { "about", Place::panels, {}, {}, Entry { Pulldown::options, 1, "About Tavrin", u'a' }, anywhere,
            on(t.tools, &ToolCommands::showAbout) },
    };
}

// The command line's keys, the console's and the editor's.
std::vector<Action> textRows(const Targets& t)
{
    using Shell = ShellCommands;
    return {
        { "run-command-line", Place::commandLine, { Qt::Key_Return },
            "Run the line in the active panel's folder", noMenu, commandLine,
            on(t.shell, &Shell::submitCommandLine) },
        { "leave-command-line", Place::commandLine, { Qt::Key_Escape }, "Back to the panel", noMenu,
            commandLine, on(t.shell, &Shell::leaveCommandLine) },
        { "older-command", Place::commandLine, { Qt::Key_Up }, "Earlier command (kept across runs)", noMenu,
            commandLine, on(t.shell, &Shell::showOlderCommand) },
        { "newer-command", Place::commandLine, { Qt::Key_Down }, "Later command", noMenu, commandLine,
            on(t.shell, &Shell::showNewerCommand) },
        { "hide-console", Place::console, { ctrl(Qt::Key_O) }, "The panels (a command that runs goes on)" },
        { "interrupt", Place::console, { control(Qt::Key_C) },
            "Interrupt; again in a row half a second on: end it (unless it reads keys raw)" },
        { "scroll-back", Place::console, { QKeySequence(Qt::ShiftModifier | Qt::Key_PageUp) },
            "Up a page through the last 10,000 lines" },
        { "scroll-forward", Place::console, { QKeySequence(Qt::ShiftModifier | Qt::Key_PageDown) },
            "Down a page through them" },
        { "paste", Place::console, { QKeySequence(Qt::ShiftModifier | Qt::Key_Insert) },
            "Paste the clipboard" },
        { "save", Place::editor, { ctrl(Qt::Key_S) }, "Save", noMenu, anywhere,
            on(t.panels, &PanelPair::saveEditors) },
        { "close-editor", Place::editor, { Qt::Key_Escape }, "Close (asks about unsaved changes)" },
        { "save-and-close", Place::editor, { Qt::Key_S }, "Unsaved changes: save, then close" },
    };
}

// Renaming by a rule, comparing two files and making two folders alike, with the keys of their
// dialogs and windows.
std::vector<Action> comparisonRows(const Targets& t)
{
    return {
        { "multi-rename", Place::panels, { ctrl(Qt::Key_M) },
            "Rename the marked items or the cursor's by a mask, search and case",
            Entry { Pulldown::files, 6, "Multi-Rename...", u'n' }, panelList,
            on(t.rename, &RenameCommands::multiRename) },
        { "synchronize", Place::panels, { ctrlShift(Qt::Key_S) },
            "Synchronize the two panels' folders and everything below them",
            Entry { Pulldown::commands, 3, "Synchronize Folders...", u's' }, anywhere,
            on(t.comparison, &ComparisonCommands::synchronize) },
        { "compare-files", Place::panels, { ctrlShift(Qt::Key_C) },
            "Compare the cursor's files of both panels (or two marked ones) side by side",
            Entry { Pulldown::commands, 3, "Compare Files", u'c' }, anywhere,
            on(t.comparison, &ComparisonCommands::compareFiles) },
        { "rename-regex", Place::rename, { alt(Qt::Key_R) }, "The search is a regular expression, or plain text" },
        { "rename-case", Place::rename, { alt(Qt::Key_C) }, "Case: as is, lower, UPPER, First letter" },
        { "rename-scroll", Place::rename, { Qt::Key_Down }, "Scroll the list (Up, PageUp, PageDown likewise)" },
        { "rename-run", Place::rename, { Qt::Key_Return }, "Rename, once no name clashes" },
        { "sync-next-choice", Place::synchronize, { Qt::Key_Space }, "The item's next choice" },
        { "sync-right", Place::synchronize, { Qt::Key_Right }, "Copy it to the right (> too)" },
        { "sync-left", Place::synchronize, { Qt::Key_Left }, "Copy it to the left (< too)" },
        { "sync-skip", Place::synchronize, { Qt::Key_S }, "Skip it" },
        { "sync-delete", Place::synchronize, { Qt::Key_Delete }, "Delete it, where one side alone has it" },
        { "sync-run", Place::synchronize, { Qt::Key_Return }, "Synchronize as chosen" },
        { "compare-next", Place::compare, { Qt::Key_F7 }, "Next difference" },
        { "compare-previous", Place::compare, { QKeySequence(Qt::ShiftModifier | Qt::Key_F7) },
            "Previous difference" },
        { "compare-sideways", Place::compare, { Qt::Key_Right }, "Scroll sideways (Left back)" },
        { "compare-close", Place::compare, { Qt::Key_Escape }, "Close (F3 and F10 too)" },
    };
}

// The keys other windows answer: menus, dialogs, jobs, find and the viewer.
std::vector<Action> otherWindowRows()
{
    return {
        { "menu-previous", Place::menus, { Qt::Key_Left }, "Previous pulldown" },
        { "menu-next", Place::menus, { Qt::Key_Right }, "Next pulldown" },
        { "menu-up", Place::menus, { Qt::Key_Up }, "Previous entry" },
        { "menu-down", Place::menus, { Qt::Key_Down }, "Next entry" },
        { "menu-choose", Place::menus, { Qt::Key_Return },
            "Choose the highlighted entry (or type its red letter)" },
        { "menu-close", Place::menus, { Qt::Key_Escape }, "Close the menu" },
        { "dialog-ok", Place::dialogs, { Qt::Key_Return },
            "OK, or the button chosen with Left / Right / Tab" },
        { "dialog-cancel", Place::dialogs, { Qt::Key_Escape }, "Cancel" },
        { "match-case", Place::dialogs, { alt(Qt::Key_M) },
            "Select group: mark with the letters' case matched" },
        { "dialog-next", Place::dialogs, { Qt::Key_Tab },
            "Next button (a prompt's field keeps the keyboard)" },
        { "attributes-flip", Place::dialogs, { Qt::Key_Space },
            "Attributes: flip the bit under the cursor (O, G, T: owner, group, time; I: inside folders)" },
        { "background", Place::jobs, { Qt::Key_B }, "Progress: go on in the background" },
        { "cancel-job", Place::jobs, { Qt::Key_Escape }, "Progress: cancel the job (asks first)" },
        { "overwrite", Place::jobs, { Qt::Key_O },
            "Name taken, or a saved file changed since it was read: overwrite" },
        { "overwrite-all", Place::jobs, { Qt::Key_A }, "Name taken: overwrite all" },
        { "overwrite-older", Place::jobs, { Qt::Key_N }, "Name taken: overwrite all older" },
        { "keep-both", Place::jobs, { Qt::Key_K }, "Name taken: keep both (the copy gets a free name)" },
        { "skip", Place::jobs, { Qt::Key_S }, "Name taken or item failed: skip; jobs list: start now" },
        { "skip-all", Place::jobs, { Qt::Key_L }, "Name taken or item failed: skip all" },
        { "retry", Place::jobs, { Qt::Key_R }, "Item failed: retry" },
        { "show-job", Place::jobs, { Qt::Key_Return }, "Jobs list: show the job's progress" },
        { "list-cancel-job", Place::jobs, { Qt::Key_Delete }, "Jobs list: cancel the job" },
        { "find-names", Place::find, { Qt::Key_N }, "Find: the name patterns (*.txt; *.md)" },
        { "find-text", Place::find, { Qt::Key_T }, "Find: the text to look for" },
        { "find-folder", Place::find, { Qt::Key_F }, "Find: the folder to search" },
        { "find-case", Place::find, { Qt::Key_C }, "Find: case-sensitive on / off" },
        { "find-words", Place::find, { Qt::Key_W }, "Find: whole words on / off" },
        { "find-binary", Place::find, { Qt::Key_B }, "Find: binary files too on / off" },
        { "find-archives", Place::find, { Qt::Key_A }, "Find: inside archives on / off" },
        { "find-start", Place::find, { Qt::Key_Return }, "Find; in the hits: the panel to the hit's folder" },
        { "hits-to-panel", Place::find, { Qt::Key_P },
            "Hits: all of them in the panel (Backspace goes back)" },
        { "hits-unreadable", Place::find, { Qt::Key_U }, "Hits: what could not be read" },
        { "find-stop", Place::find, { Qt::Key_Escape }, "Stop the search; once stopped, close" },
        { "viewer-close", Place::viewer, { Qt::Key_Escape }, "Close the viewer (F3 and F10 too)" },
        { "viewer-page", Place::viewer, { Qt::Key_PageDown }, "Down a page (PageUp, Up, Down likewise)" },
        { "viewer-start", Place::viewer, { Qt::Key_Home }, "Start of the file" },
        { "viewer-end", Place::viewer, { Qt::Key_End }, "End of the file" },
        { "viewer-find", Place::viewer, { Qt::Key_F7 }, "Find a text (case ignored); again: the next match" },
        { "viewer-new-find", Place::viewer, { ctrl(Qt::Key_F) }, "Find a new text" },
        { "viewer-next", Place::viewer, { QKeySequence(Qt::ShiftModifier | Qt::Key_F7) }, "Next match" },
        { "viewer-hex", Place::viewer, { Qt::Key_F4 }, "Switch between text and hex dump" },
    };
}

} // namespace

std::vector<Action> all(const Targets& targets)
{
    std::vector<Action> rows = commandRows(targets);
    for (std::vector<Action> more :
        { panelRows(targets), textRows(targets), otherWindowRows(), comparisonRows(targets) })
        rows.insert(rows.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    return rows;
}

} // namespace kiv::Actions
