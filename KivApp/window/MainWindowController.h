#pragma once

#include "archives/ArchiveService.h"
#include "files/FileEntry.h"
#include "files/FileSystemService.h"
#include "panels/PanelViewControllerDelegate.h"
#include "shell/ShellRunner.h"

#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kiv {

class ConsoleOutputView;
class FileOperationCommands;
class MainRootView;
class MainWindow;
class PanelViewController;
class ToolCommands;
struct UserMenuItem;

// The hub of the program: builds the main window and both panels on the home folder, owns the
// services every command shares, keeps track of the active panel and turns every key, click and
// menu choice into one command. The file commands are carried out by FileOperationCommands and
// the other tools by ToolCommands; this class dispatches to them.
class MainWindowController : public QObject, public PanelViewControllerDelegate
{
    Q_OBJECT
public:
    // Builds the 1100 x 680 window titled "Tavrin" (at least 700 x 400), both panels listing the
    // home folder, the left one active, and every callback; the window is not shown yet.
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
    // Returns the left panel.
    PanelViewController& leftPanel() const { return *m_leftPanel; }
    // Returns the right panel.
    PanelViewController& rightPanel() const { return *m_rightPanel; }
    // Returns the panel whose list last took the keyboard focus: the left or the right one.
    PanelViewController& activePanel() const { return *m_activePanel; }
    // Returns the right panel for the left one, and the left panel for anything else.
    PanelViewController& otherPanel(const PanelViewController& panel) const;
    // Returns the file-system service the commands share.
    const FileSystemService& fsOps() const { return m_fsOps; }
    // Returns the archive service the commands share.
    const ArchiveService& archiveService() const { return m_archiveService; }

    // Returns the console output covering the window, or null when none is shown.
    ConsoleOutputView* consoleOutputView() const;
    // Records the console output covering the window (null when it has gone); while one is
    // recorded, every function key only dismisses it.
    void setConsoleOutputView(ConsoleOutputView* view);

    // Returns a callback that runs `method` on this controller, and nothing once it is gone.
    std::function<void()> weakCall(void (MainWindowController::*method)());

    // Carries out function key `key` (1 to 10); with the console output shown it only closes it.
    void performFunctionKey(int key);
    // Opens the pulldown menu of menu-bar title `index` (0 to 4) under `anchorFrame`, a title's
    // frame in the menu bar's coordinates; any other index opens an empty menu.
    void showPulldownMenu(int index, QRectF anchorFrame);

    // Menu actions of the "Left" and "Right" pulldowns: each acts on its own panel, active or not.
    void refreshLeft();
    void refreshRight();
    void toggleHiddenLeft();
    void toggleHiddenRight();
    // Gives both panels the opposite of the left panel's hidden-file setting and relists them.
    void toggleHiddenBoth();
    // Takes the panel to the home folder; if that cannot be listed, reports it and leaves the
    // panel exactly as it was.
    void goHomeLeft();
    void goHomeRight();
    // Moves the keyboard focus to the command line.
    void focusCommandLine();
    // Menu actions of the "Files" and "Commands" pulldowns, each the command of its title.
    void menuCopy();
    void menuMove();
    void menuMkdir();
    void menuDelete();
    void menuUserMenu();

    // Saves an in-panel editor of the left, then the right panel, where one is open (Ctrl+S).
    void saveActiveInlineEditor();
    // Returns a path on disk for `entry` listed by `panel`: the file itself in a real folder, or
    // a copy extracted into a new "kiv-mac-" + UUID folder in the temporary folder for an archive
    // member. A failed extraction is shown in the "Error" dialog and gives nothing.
    std::optional<std::string> realFilePath(const FileEntry& entry, PanelViewController& panel);
    // Opens the in-panel editor for `filePath` in the panel opposite the active one.
    void presentInlineEditor(const std::string& filePath);

    // Asks "Quit Tavrin?" and ends the program on yes (F10).
    void quitOperation();
    // Asks "Quit Tavrin?" on behalf of the window's close button; returns the answer.
    bool windowShouldClose();

    // File commands, carried out by FileOperationCommands.
    void viewOperation();
    void editOperation();
    void copyOperation();
    void moveOperation();
    void mkdirOperation();
    void deleteOperation();

    // Tool commands, carried out by ToolCommands.
    void showHelp();
    void showUserMenu();
    void runUserMenuItem(const UserMenuItem& item);
    void editUserMenuFile();
    void submitCommandLine();
    void presentConsoleOutput(
        const QString& promptPath, const QString& command, const ShellRunner::Result& result);
    void dismissConsoleOutput();
    void menuExtractArchive();
    void menuCompare();
    void showAbout();

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
    void wireCallbacks();
    void establishInitialFocusAndSplit();
    void updatePrompt();
    void toggleHidden(PanelViewController& panel);
    void goHome(PanelViewController& panel);

    FileSystemService m_fsOps;
    ArchiveService m_archiveService;
    std::unique_ptr<PanelViewController> m_leftPanel;
    std::unique_ptr<PanelViewController> m_rightPanel;
    PanelViewController* m_activePanel;
    std::unique_ptr<MainWindow> m_window;
    MainRootView* m_root = nullptr;
    QPointer<ConsoleOutputView> m_consoleOutputView;
    std::unique_ptr<FileOperationCommands> m_fileCommands;
    std::unique_ptr<ToolCommands> m_toolCommands;
};

} // namespace kiv
