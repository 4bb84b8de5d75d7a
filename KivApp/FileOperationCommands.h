#pragma once

namespace kiv {

class MainWindowController;

// The file commands of the main window: view (F3), edit (F4), copy (F5), rename or move (F6),
// make folder (F7) and delete (F8). The source is the controller's active panel when a command
// starts and the target the other panel; the controller dispatches the keys and menu items here.
class FileOperationCommands
{
public:
    // Works on `controller`'s panels, services and window; the controller must outlive this.
    explicit FileOperationCommands(MainWindowController& controller);

    // Opens a viewer window on the file under the active panel's cursor (F3).
    void viewOperation();
    // Opens the file under the active panel's cursor in the in-panel editor of the other panel (F4).
    void editOperation();
    // Copies the active panel's selection into a folder asked for, the other panel's by default (F5).
    void copyOperation();
    // Renames or moves the active panel's selection (F6).
    void moveOperation();
    // Makes a folder with a name asked for in the active panel's folder (F7).
    void mkdirOperation();
    // Deletes the active panel's selection after asking (F8).
    void deleteOperation();

private:
    // Not read until the commands are filled in.
    [[maybe_unused]] MainWindowController& m_controller;
};

} // namespace kiv
