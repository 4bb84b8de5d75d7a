#pragma once

#include "shell/ShellRunner.h"

#include <QString>
#include <string>

namespace kiv {

class MainWindowController;
struct UserMenuItem;

// The main window's other commands: help (F1), the user menu (F2) and its entries, editing the
// user-menu file, running the command line, showing and closing the console output, extracting
// an archive into the other panel, comparing the panels, and the About box. The controller
// dispatches the keys, menu items and command-line callbacks here.
class ToolCommands
{
public:
    // Works on `controller`'s panels, services and window; the controller must outlive this.
    explicit ToolCommands(MainWindowController& controller);

    // Shows the help dialog (F1).
    void showHelp();
    // Opens the user menu read afresh from its file (F2).
    void showUserMenu();
    // Runs `item`'s command in the active panel's folder and shows its output.
    void runUserMenuItem(const UserMenuItem& item);
    // Opens the user-menu file (created when missing) in the in-panel editor of the other panel.
    void editUserMenuFile();
    // Runs the command line's text in the active panel's folder and shows its output.
    void submitCommandLine();
    // Covers the window with the output of `command`, run in `promptPath`, that ended with `result`.
    void presentConsoleOutput(
        const QString& promptPath, const QString& command, const ShellRunner::Result& result);
    // Removes the console output, if shown, and gives the focus back to the active panel.
    void dismissConsoleOutput();
    // Extracts the archive under the active panel's cursor into the other panel's folder.
    void menuExtractArchive();
    // Marks the names that differ between the two panels and says how many.
    void menuCompare();
    // Shows the About box.
    void showAbout();

private:
    void runInWorkingFolder(const std::string& command);
    void removeConsoleOutput();
    void tellAboutExtraction(const QString& text);
    void reloadBothPanels();

    MainWindowController& m_controller;
};

} // namespace kiv
