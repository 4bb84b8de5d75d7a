#pragma once

#include "commands/CommandContext.h"
#include "shell/CommandHistory.h"
#include "shell/UserMenuStore.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <string>
#include <unordered_map>

class QWidget;

namespace kiv {

class CommandLineField;
class ConsoleView;
class PanelViewController;
class ViewEditCommands;

// The shell side of the main window: the command line, the user menu (F2) and its file, and the
// console that covers the window while a command runs on its terminal and after, until a key is
// pressed; Ctrl+O shows it again. Commands run in the active panel's folder (inside an archive:
// the folder holding it), one at a time.
class ShellCommands : public QObject
{
    Q_OBJECT
public:
    // Puts `overlay` over the whole window content, which owns it from then on; with null, hides
    // the overlay shown.
    using ShowOverlay = std::function<void(QWidget* overlay)>;

    // Works in `context` with the window's `commandLine` and its content view `content`, from
    // whose lower left corner the user menu hangs and which `showOverlay` covers with the
    // console; the menu file is edited through `viewEdit`. All of them must outlive this.
    ShellCommands(CommandContext context, CommandLineField& commandLine, QWidget& content,
        ShowOverlay showOverlay, ViewEditCommands& viewEdit, QObject* parent = nullptr);

    // Opens the user menu read afresh from its file (F2), once read as a job.
    void showUserMenu();
    // Opens the user-menu file (created when missing) in the in-panel editor of the inactive panel.
    void editUserMenuFile();
    // Runs the command line's text on a terminal in the console and adds it to the history; a
    // lone cd line moves the active panel instead, and an empty line only returns the keyboard to
    // the active panel. Either way the command line is emptied.
    void submitCommandLine();
    // Returns the keyboard from the command line to the active panel's list (Escape).
    void leaveCommandLine();
    // Shows the line run before the one shown in the command line (Up), if any.
    void showOlderCommand();
    // Shows the line run after the one shown, or the line that was being typed (Down).
    void showNewerCommand();
    // Returns the lines run from the command line, to be kept between runs.
    CommandHistory& commandHistory() { return m_history; }

    // Returns the console covering the window, or null when none is shown.
    ConsoleView* console() const;
    // Shows the console of the last command again (Ctrl+O), running or ended, with its screen and
    // scrollback; nothing when no command has run.
    void showConsole();
    // Hides the console, if shown, and gives the keyboard back to the active panel; a command
    // that still runs goes on.
    void hideConsole();

private:
    void popUpUserMenu(const UserMenuStore::Menu& menu);
    bool changeFolder(const std::string& line);
    void runInWorkingFolder(const std::string& command);

    CommandContext m_context;
    CommandLineField& m_commandLine;
    QWidget& m_content;
    ViewEditCommands& m_viewEdit;
    ShowOverlay m_showOverlay;
    QPointer<ConsoleView> m_console; // the last command's, shown or not
    bool m_consoleShown = false;
    // Per panel, the folder the last cd on the command line left, for "cd -".
    std::unordered_map<const PanelViewController*, std::string> m_previousFolders;
    CommandHistory m_history;
};

} // namespace kiv
