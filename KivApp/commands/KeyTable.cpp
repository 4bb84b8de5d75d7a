#include "commands/KeyTable.h"

#include <QStringList>
#include <algorithm>

namespace kiv::KeyTable {

namespace {

QKeySequence ctrl(Qt::Key key)
{
    return QKeySequence(Qt::ControlModifier | key);
}

} // namespace

const std::vector<Binding>& all()
{
    using P = Place;
    static const std::vector<Binding> bindings {
        { P::panels, Qt::Key_F1, QStringLiteral("Help: this list") },
        { P::panels, Qt::Key_F2, QStringLiteral("User menu (its entries run on their hot keys)") },
        { P::panels, Qt::Key_F3, QStringLiteral("View the file under the cursor") },
        { P::panels, Qt::Key_F4, QStringLiteral("Edit the file under the cursor") },
        { P::panels, Qt::Key_F5, QStringLiteral("Copy the marked files or the cursor's to the other panel") },
        { P::panels, QKeySequence(Qt::AltModifier | Qt::Key_F5),
            QStringLiteral("Pack the marked files or the cursor's into a new archive") },
        { P::panels, Qt::Key_F6, QStringLiteral("Move / rename") },
        { P::panels, Qt::Key_F7, QStringLiteral("Make a folder") },
        { P::panels, Qt::Key_F8, QStringLiteral("Delete") },
        { P::panels, Qt::Key_Delete, QStringLiteral("Move the marked files or the cursor's to the trash") },
        { P::panels, ctrl(Qt::Key_Z),
            QStringLiteral("Undo the last file operation (those of this run only, never F8)") },
        { P::panels, QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z),
            QStringLiteral("Redo what was undone") },
        { P::panels, Qt::Key_F9, QStringLiteral("Pulldown menus") },
        { P::panels, Qt::Key_F10, QStringLiteral("Quit") },
        { P::panels, ctrl(Qt::Key_S), QStringLiteral("Save the open editor") },
        { P::panels, QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_J),
            QStringLiteral("Jobs: those running and waiting") },
        { P::panels, Qt::Key_Tab, QStringLiteral("Switch to the other panel") },
        { P::panels, Qt::Key_Space, QStringLiteral("Mark / unmark, then down a row") },
        { P::panels, Qt::Key_Return, QStringLiteral("Enter the folder or archive, or open the file") },
        { P::panels, Qt::Key_Insert, QStringLiteral("Mark / unmark, then down a row") },
        { P::panels, Qt::Key_Plus, QStringLiteral("Mark the names that match patterns (*.txt; *.md)") },
        { P::panels, Qt::Key_Minus, QStringLiteral("Unmark the names that match patterns") },
        { P::panels, Qt::Key_Asterisk, QStringLiteral("Invert the marks") },
        { P::panels, ctrl(Qt::Key_F3), QStringLiteral("Sort by name (again: reversed)") },
        { P::panels, ctrl(Qt::Key_F4), QStringLiteral("Sort by extension (again: reversed)") },
        { P::panels, ctrl(Qt::Key_F5), QStringLiteral("Sort by modification time (again: reversed)") },
        { P::panels, ctrl(Qt::Key_F6), QStringLiteral("Sort by size (again: reversed)") },
        { P::panels, ctrl(Qt::Key_F7), QStringLiteral("Leave the rows as the file system lists them") },
        { P::panels, ctrl(Qt::Key_U), QStringLiteral("Swap the panels") },
        { P::panels, ctrl(Qt::Key_Equal), QStringLiteral("This folder in the other panel") },
        { P::panels, QKeySequence(Qt::AltModifier | Qt::Key_Left),
            QStringLiteral("Back to the folder before") },
        { P::panels, QKeySequence(Qt::AltModifier | Qt::Key_Right), QStringLiteral("Forward again") },
        { P::panels, QKeySequence(Qt::AltModifier | Qt::Key_Down),
            QStringLiteral("The panel's folder history") },
        { P::panels, QKeySequence(Qt::ControlModifier | Qt::Key_Space),
            QStringLiteral("Measure the marked folders or the cursor's (size in the Size column)") },
        { P::panels, QKeySequence(Qt::AltModifier | Qt::Key_F7),
            QStringLiteral("Find files by name and text below a folder") },
        { P::panels, ctrl(Qt::Key_D), QStringLiteral("Folder hotlist: go, add this folder, remove") },
        { P::panels, ctrl(Qt::Key_G), QStringLiteral("Go to a folder or file by its path (~ is home)") },
        { P::panels, ctrl(Qt::Key_J), QStringLiteral("Put the name under the cursor into the command line") },
        { P::panels, ctrl(Qt::Key_O), QStringLiteral("The last command's screen and scrollback again") },
        { P::panels, ctrl(Qt::Key_Return), QStringLiteral("The same as Ctrl+J") },
        { P::panels, Qt::Key_Backspace,
            QStringLiteral("Up to the parent folder (the cursor lands on the one left)") },
        { P::panels, Qt::Key_Escape, QStringLiteral("Stop reading a slow folder (the panel stays)") },
        { P::panels, Qt::Key_Up, QStringLiteral("Cursor up a row") },
        { P::panels, Qt::Key_Down, QStringLiteral("Cursor down a row") },
        { P::panels, Qt::Key_PageUp, QStringLiteral("Cursor up a page") },
        { P::panels, Qt::Key_PageDown, QStringLiteral("Cursor down a page") },
        { P::panels, Qt::Key_Home, QStringLiteral("First row") },
        { P::panels, Qt::Key_End, QStringLiteral("Last row") },
        { P::commandLine, Qt::Key_Return, QStringLiteral("Run the line in the active panel's folder") },
        { P::commandLine, Qt::Key_Escape, QStringLiteral("Back to the panel") },
        { P::commandLine, Qt::Key_Up, QStringLiteral("Earlier command (kept across runs)") },
        { P::commandLine, Qt::Key_Down, QStringLiteral("Later command") },
        { P::console, ctrl(Qt::Key_O), QStringLiteral("The panels (a command that runs goes on)") },
        { P::console, ctrl(Qt::Key_C),
            QStringLiteral("Interrupt; again in a row half a second on: end it (unless it reads keys raw)") },
        { P::console, QKeySequence(Qt::ShiftModifier | Qt::Key_PageUp),
            QStringLiteral("Up a page through the last 10,000 lines") },
        { P::console, QKeySequence(Qt::ShiftModifier | Qt::Key_PageDown),
            QStringLiteral("Down a page through them") },
        { P::console, QKeySequence(Qt::ShiftModifier | Qt::Key_Insert), QStringLiteral("Paste the clipboard") },
        { P::menus, Qt::Key_Left, QStringLiteral("Previous pulldown") },
        { P::menus, Qt::Key_Right, QStringLiteral("Next pulldown") },
        { P::menus, Qt::Key_Up, QStringLiteral("Previous entry") },
        { P::menus, Qt::Key_Down, QStringLiteral("Next entry") },
        { P::menus, Qt::Key_Return, QStringLiteral("Choose the highlighted entry (or type its red letter)") },
        { P::menus, Qt::Key_Escape, QStringLiteral("Close the menu") },
        { P::dialogs, Qt::Key_Return, QStringLiteral("OK, or the button chosen with Left / Right / Tab") },
        { P::dialogs, Qt::Key_Escape, QStringLiteral("Cancel") },
        { P::dialogs, QKeySequence(Qt::AltModifier | Qt::Key_M),
            QStringLiteral("Select group: mark with the letters' case matched") },
        { P::dialogs, Qt::Key_Tab, QStringLiteral("Next button (a prompt's field keeps the keyboard)") },
        { P::jobs, Qt::Key_B, QStringLiteral("Progress: go on in the background") },
        { P::jobs, Qt::Key_Escape, QStringLiteral("Progress: cancel the job (asks first)") },
        { P::jobs, Qt::Key_O, QStringLiteral("Name taken: overwrite") },
        { P::jobs, Qt::Key_A, QStringLiteral("Name taken: overwrite all") },
        { P::jobs, Qt::Key_N, QStringLiteral("Name taken: overwrite all older") },
        { P::jobs, Qt::Key_K, QStringLiteral("Name taken: keep both (the copy gets a free name)") },
        { P::jobs, Qt::Key_S, QStringLiteral("Name taken or item failed: skip; jobs list: start now") },
        { P::jobs, Qt::Key_L, QStringLiteral("Name taken or item failed: skip all") },
        { P::jobs, Qt::Key_R, QStringLiteral("Item failed: retry") },
        { P::jobs, Qt::Key_Return, QStringLiteral("Jobs list: show the job's progress") },
        { P::jobs, Qt::Key_Delete, QStringLiteral("Jobs list: cancel the job") },
        { P::find, Qt::Key_N, QStringLiteral("Find: the name patterns (*.txt; *.md)") },
        { P::find, Qt::Key_T, QStringLiteral("Find: the text to look for") },
        { P::find, Qt::Key_F, QStringLiteral("Find: the folder to search") },
        { P::find, Qt::Key_C, QStringLiteral("Find: case-sensitive on / off") },
        { P::find, Qt::Key_W, QStringLiteral("Find: whole words on / off") },
        { P::find, Qt::Key_B, QStringLiteral("Find: binary files too on / off") },
        { P::find, Qt::Key_A, QStringLiteral("Find: inside archives on / off") },
        { P::find, Qt::Key_Return, QStringLiteral("Find; in the hits: the panel to the hit's folder") },
        { P::find, Qt::Key_P, QStringLiteral("Hits: all of them in the panel (Backspace goes back)") },
        { P::find, Qt::Key_U, QStringLiteral("Hits: what could not be read") },
        { P::find, Qt::Key_Escape, QStringLiteral("Stop the search; once stopped, close") },
        { P::viewer, Qt::Key_Escape, QStringLiteral("Close the viewer (F3 and F10 too)") },
        { P::viewer, Qt::Key_PageDown, QStringLiteral("Down a page (PageUp, Up, Down likewise)") },
        { P::viewer, Qt::Key_Home, QStringLiteral("Start of the file") },
        { P::viewer, Qt::Key_End, QStringLiteral("End of the file") },
        { P::viewer, Qt::Key_F7, QStringLiteral("Find a text (case ignored); again: the next match") },
        { P::viewer, ctrl(Qt::Key_F), QStringLiteral("Find a new text") },
        { P::viewer, QKeySequence(Qt::ShiftModifier | Qt::Key_F7), QStringLiteral("Next match") },
        { P::viewer, Qt::Key_F4, QStringLiteral("Switch between text and hex dump") },
        { P::editor, ctrl(Qt::Key_S), QStringLiteral("Save") },
        { P::editor, Qt::Key_Escape, QStringLiteral("Close (asks about unsaved changes)") },
    };
    return bindings;
}

QString placeName(Place place)
{
    switch (place) {
    case Place::panels:
        return QStringLiteral("Panels");
    case Place::commandLine:
        return QStringLiteral("Command line");
    case Place::console:
        return QStringLiteral("Console (other keys go to the program; once it ended, any key returns)");
    case Place::menus:
        return QStringLiteral("Menus");
    case Place::dialogs:
        return QStringLiteral("Dialogs");
    case Place::jobs:
        return QStringLiteral("Jobs");
    case Place::find:
        return QStringLiteral("Find file (Alt+F7)");
    case Place::viewer:
        return QStringLiteral("Viewer (F3)");
    case Place::editor:
        return QStringLiteral("Editor");
    }
    return {};
}

QString keyName(const QKeySequence& key)
{
    return key.toString(QKeySequence::NativeText);
}

QString helpText()
{
    qsizetype widest = 0;
    for (const Binding& binding : all())
        widest = std::max(widest, keyName(binding.key).size());
    QStringList lines;
    for (std::size_t at = 0; at < all().size(); ++at) {
        const Binding& binding = all()[at];
        if (at == 0 || all()[at - 1].place != binding.place)
            lines << (at == 0 ? QString() : QStringLiteral("\n")) + placeName(binding.place);
        lines << QStringLiteral("  ") + keyName(binding.key).leftJustified(widest + 2) + binding.action;
    }
    return lines.join(u'\n');
}

} // namespace kiv::KeyTable
