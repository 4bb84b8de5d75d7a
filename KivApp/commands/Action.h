#pragma once

#include <QChar>
#include <QKeySequence>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace kiv {

class PanelViewController;

// One thing the user can do: a row of the command table. The window's key routing, the pulldown
// menus and the help (F1) are all made from these rows, so a key is described once.
struct Action
{
    // Where an action acts: the heading the help tells its keys under.
    enum class Place
    {
        panels, // the file panels, and the whole window for the function keys
        commandLine,
        console,
        editor,
        menus,
        dialogs,
        jobs, // a job's progress, its questions and the jobs list
        find, // the find dialog and its list of hits
        viewer,
        rename, // the multi-rename dialog
        synchronize, // the list of a synchronization's differences
        compare, // two files side by side
    };

    // What holds the main window's keyboard when a key is pressed. The console, while shown, and
    // any dialog or menu, which is a window of its own, hold it too, but no row may run there:
    // those answer every key themselves.
    enum Holder : unsigned
    {
        panel = 1, // a panel's list
        commandLine = 2,
        editor = 4, // an in-panel editor
        elsewhere = 8, // any other widget of the main window
    };
    // A set of holders: where an action's keys run it.
    using When = unsigned;
    // Every holder a row may name.
    static constexpr When anywhere = panel | commandLine | editor | elsewhere;
    // No holder: the keys are told in the help, and answered by the widget or window they belong to.
    static constexpr When told = 0;

    // A pulldown of the menu bar. The panel menu is "Left" and "Right", each acting on its panel.
    enum class Pulldown
    {
        panel,
        files,
        commands,
        options,
    };

    // An action's entry in a pulldown: in `section` (sections are parted by a rule, in rising
    // order), after the entries of rows above it in the table; `letter` chooses it. `detail`,
    // when set, says what the entry would act on now ("move of 3 items"), or nothing when it
    // cannot run now and the entry is shown disabled.
    struct MenuEntry
    {
        Pulldown menu;
        int section;
        QString title;
        QChar letter;
        std::function<std::optional<QString>()> detail = {};
    };

    // Runs the action for `panel`: the active panel for a key, the named one for "Left" and "Right".
    using Handler = std::function<void(PanelViewController& panel)>;

    // A short name that stays when titles and keys change ("copy", "sort-by-name").
    const char* id;
    Place place;
    // The keys, the first of which the menus show; a key with Shift that types a symbol ("+", "*")
    // is named without it and matches with or without it.
    std::vector<QKeySequence> keys;
    // The help's line for the first key.
    QString help;
    std::optional<MenuEntry> menu = {};
    When when = told;
    // Empty for rows that are only told.
    Handler run = {};
};

} // namespace kiv
