#pragma once

#include "archives/ArchiveService.h"
#include "files/FileSystemService.h"
#include "history/OperationHistory.h"
#include "jobs/JobFootprint.h"
#include "jobs/JobOutcome.h"
#include "panels/PanelViewControllerDelegate.h"
#include "settings/StartPaths.h"
#include "settings/StartPlace.h"
#include "toolkit/RetroMenuItem.h"

#include <QObject>
#include <QRectF>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kiv {

class AttributeCommands;
class CommandTable;
class ClipboardCommands;
class DragDropCommands;
class ComparisonCommands;
class FileOperationCommands;
class ViewEditCommands;
class OpenWithCommands;
class KeyRouter;
class UndoCommands;
class JobRunner;
class MainRootView;
class NavigationCommands;
class MainWindow;
class PanelPair;
class QuickViewCommands;
class TabCommands;
class RenameCommands;
class ShellCommands;
class SearchCommands;
class ToolCommands;
class TrashCommands;

// Builds the main window and owns what it is made of: the two panels on the home folder, the
// core services, the history of undoable operations, the command objects and the command table,
// from which the window's keys, the key bar and the pulldown menus run them. Keeps the active-panel rules:
// the panel whose list takes the focus becomes active, and the prompt shows the active panel's folder. When a
// job ends, the panels showing a folder it changed are relisted and a job that did not do everything says
// what it did.
class MainWindowController : public QObject, public PanelViewControllerDelegate
{
    Q_OBJECT
public:
    // Builds the window titled "Tavrin" (at least 700 x 400), the left panel active, and every
    // binding, with the settings kept from the last run: window size (else 1100 x 680), the
    // panels' folders (else home), hidden files, sort orders and histories, the hotlist and the
    // command history. A panel given a path in `startPaths` (the left one first) goes there once
    // the window shows and the path has been looked at as a job (StartPlaceJob): to the folder, to
    // a file's folder with the cursor on it, or to the home folder when the path cannot be shown,
    // which the window tells. The window is not shown yet.
    explicit MainWindowController(StartPaths startPaths = {}, QObject* parent = nullptr);
    // Saves the settings, then closes and destroys the window and the panels.
    ~MainWindowController() override;

    // Shows the window, then, once the event loop runs, focuses the left panel, places the
    // divider (centred unless kept from the last run), tells of a damaged settings file and starts
    // looking at the start paths.
    void showWindow();
    // Whether saveSettings() tells of a failure in a dialog.
    enum class Failures
    {
        reported,
        ignored,
    };
    // Writes the settings file from the window, panels, hotlist and command history; nothing when
    // a damaged file could not be set aside.
    void saveSettings(Failures failures);

    // Returns the main window, owned by the controller.
    MainWindow& window() const { return *m_window; }
    // Returns the window's content view with the menu bar, panels, command line and key bar.
    MainRootView& root() const { return *m_root; }
    // Returns the two panels.
    PanelPair& panels() const { return *m_panels; }
    // Returns the command line, user menu and console output commands.
    ShellCommands& shellCommands() const { return *m_shellCommands; }
    // Returns the help, quit, extract, pack, compare, jobs and About commands.
    ToolCommands& toolCommands() const { return *m_toolCommands; }
    // Returns the multi-rename command.
    RenameCommands& renameCommands() const { return *m_renameCommands; }
    // Returns the commands that compare files and synchronize folders.
    ComparisonCommands& comparisonCommands() const { return *m_comparisonCommands; }
    // Returns the runner of copy, move, delete and extraction jobs.
    JobRunner& jobs() const { return *m_jobs; }
    // Returns the table of every action, its keys and menu entries.
    const CommandTable& commandTable() const { return *m_commandTable; }
    // Returns what routes the window's keys by the table.
    KeyRouter& keyRouter() const { return *m_keyRouter; }

    // Makes `panel` the active panel and shows its folder in the prompt, if it was not already.
    void panelDidBecomeActive(PanelViewController& panel) override;
    // Shows the folder of `panel` in the prompt when it is the active panel.
    void panelDidChangeLocation(PanelViewController& panel) override;
    // Opens the file at `realPath` with the desktop's default application; says so in a dialog when
    // the desktop has none to start.
    void panelDidOpenFile(PanelViewController& panel, const std::string& realPath) override;
    // Shows the "Can't Open Folder" dialog for `error` ("Can't Open Archive" when `place` is inside
    // an archive), with a hint for a refused permission; for a lost connection of a server's panel,
    // "Connection Lost" with Reconnect.
    void panelDidFailWithError(
        PanelViewController& panel, const std::exception& error, const PanelLocation& place) override;
    // Connects to the server as a job and takes the panel there.
    void panelWantsServer(PanelViewController& panel, const std::string& url) override;
    // Offers the panel's items to other programs (DragDropCommands).
    void panelWantsDrag(PanelViewController& panel) override;
    // Copies or moves the dropped files into the panel's folder or its folder row (DragDropCommands).
    void panelDidReceiveDrop(
        PanelViewController& panel, const QMimeData& data, bool move, const std::string& folderRow) override;

private:
    void buildWindow();
    void makeCommands();
    void bindKeys();
    std::vector<RetroMenuItem> pulldownItems(int index) const;
    void showPulldownMenu(int index, QRectF anchorFrame);
    void updatePrompt();
    void relistAfter(const JobFootprint& footprint);
    void tellEnd(const JobOutcome& outcome, bool unwatched);
    void restoreSettings();
    void lookAtStartPaths();
    void goToStartPlaces(const std::vector<StartPlace>& places);
    void placeDivider();

    FileSystemService m_fileSystem;
    ArchiveService m_archives;
    Trash m_trash;
    OperationHistory m_history;
    std::unique_ptr<PanelPair> m_panels;
    std::unique_ptr<MainWindow> m_window;
    MainRootView* m_root = nullptr;
    std::unique_ptr<JobRunner> m_jobs;
    std::unique_ptr<FileOperationCommands> m_fileCommands;
    std::unique_ptr<ViewEditCommands> m_viewEditCommands;
    std::unique_ptr<ShellCommands> m_shellCommands;
    std::unique_ptr<ToolCommands> m_toolCommands;
    std::unique_ptr<TrashCommands> m_trashCommands;
    std::unique_ptr<UndoCommands> m_undoCommands;
    std::unique_ptr<SearchCommands> m_searchCommands;
    std::unique_ptr<NavigationCommands> m_navigationCommands;
    std::unique_ptr<AttributeCommands> m_attributeCommands;
    std::unique_ptr<QuickViewCommands> m_quickViewCommands;
    std::unique_ptr<RenameCommands> m_renameCommands;
    std::unique_ptr<ComparisonCommands> m_comparisonCommands;
    std::unique_ptr<ClipboardCommands> m_clipboardCommands;
    std::unique_ptr<TabCommands> m_tabCommands;
    std::unique_ptr<DragDropCommands> m_dragDropCommands;
    std::unique_ptr<OpenWithCommands> m_openWithCommands;
    std::unique_ptr<CommandTable> m_commandTable;
    std::unique_ptr<KeyRouter> m_keyRouter;
    // Where the panels were asked to open when the program started, the left one first.
    StartPaths m_startPaths;
    // From the settings file: the divider to restore (the last one placed, once the window shows),
    // what went wrong reading the file, whether to write it, the lines of a newer version written back.
    int m_keptDivider = -1;
    std::string m_settingsProblem;
    bool m_maySaveSettings = true;
    std::vector<std::string> m_unknownSettingsLines;
};

} // namespace kiv
