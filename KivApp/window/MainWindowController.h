#pragma once

#include "archives/ArchiveService.h"
#include "files/FileSystemService.h"
#include "history/OperationHistory.h"
#include "panels/PanelViewControllerDelegate.h"

#include <QObject>
#include <QRectF>
#include <array>
#include <functional>
#include <memory>

namespace kiv {

class FileOperationCommands;
class HistoryCommands;
class MainRootView;
class MainWindow;
class PanelPair;
class ShellCommands;
class ToolCommands;
class TrashCommands;

// Builds the main window and owns what it is made of: the two panels on the home folder, the
// core services, the history of undoable operations and the command objects. Binds the function keys, the key
// bar, the pulldown menus and the command line straight to the commands, and keeps the active-panel rules:
// the panel whose list takes the focus becomes active, and the prompt shows the active panel's folder.
class MainWindowController : public QObject, public PanelViewControllerDelegate
{
    Q_OBJECT
public:
    // Builds the 1100 x 680 window titled "Tavrin" (at least 700 x 400), both panels listing the
    // home folder, the left one active, and every binding; the window is not shown yet.
    explicit MainWindowController(QObject* parent = nullptr);
    // Closes and destroys the window and the panels.
    ~MainWindowController() override;

    // Shows the window, then, once the event loop runs, focuses the left panel and centres the
    // divider.
    void showWindow();

    // Returns the main window, owned by the controller.
    MainWindow& window() const { return *m_window; }
    // Returns the window's content view with the menu bar, panels, command line and key bar.
    MainRootView& root() const { return *m_root; }
    // Returns the two panels.
    PanelPair& panels() const { return *m_panels; }
    // Returns the command line, user menu and console output commands.
    ShellCommands& shellCommands() const { return *m_shellCommands; }
    // Returns the help, quit, extract, compare and About commands.
    ToolCommands& toolCommands() const { return *m_toolCommands; }

    // Makes `panel` the active panel and shows its folder in the prompt, if it was not already.
    void panelDidBecomeActive(PanelViewController& panel) override;
    // Focuses the panel opposite `panel` (Tab).
    void panelRequestsSwitch(PanelViewController& panel) override;
    // Shows the folder of `panel` in the prompt when it is the active panel.
    void panelDidChangeLocation(PanelViewController& panel) override;
    // Opens the file at `realPath` with the desktop's default application.
    void panelDidOpenFile(
        PanelViewController& panel, const FileEntry& file, const std::string& realPath) override;
    // Shows the "Can't Open Folder" dialog for `error`, with a hint for a refused permission.
    void panelDidFailWithError(PanelViewController& panel, const std::exception& error) override;

private:
    void buildWindow();
    void makeCommands();
    void bindKeys();
    void pressFunctionKey(int key);
    void showPulldownMenu(int index, QRectF anchorFrame);
    void updatePrompt();

    FileSystemService m_fileSystem;
    ArchiveService m_archives;
    Trash m_trash;
    OperationHistory m_history;
    std::unique_ptr<PanelPair> m_panels;
    std::unique_ptr<MainWindow> m_window;
    MainRootView* m_root = nullptr;
    std::unique_ptr<FileOperationCommands> m_fileCommands;
    std::unique_ptr<ShellCommands> m_shellCommands;
    std::unique_ptr<ToolCommands> m_toolCommands;
    std::unique_ptr<TrashCommands> m_trashCommands;
    std::unique_ptr<HistoryCommands> m_historyCommands;
    // What F1 to F10 run, by key number minus one.
    std::array<std::function<void()>, 10> m_functionKeys;
};

} // namespace kiv
