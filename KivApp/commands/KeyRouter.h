#pragma once

#include "commands/Action.h"

#include <QKeyCombination>
#include <optional>

class QKeyEvent;
class QObject;
class QWidget;

namespace kiv {

class CommandLineField;
class CommandTable;
class PanelPair;
class ShellCommands;

// What each key pressed in the main window does, by the command table: the row that binds the key
// where the keyboard is runs, for the panel whose list the key is aimed at, else the active one. While the
// console is shown it owns the keyboard: every key goes to it and no row runs, whatever the key.
class KeyRouter
{
public:
    // Routes by `table` among `panels`, the window's `commandLine` and the console `shell` shows;
    // all of them outlive the router.
    KeyRouter(const CommandTable& table, PanelPair& panels, CommandLineField& commandLine,
        const ShellCommands& shell);

    // Returns what holds the keyboard for a key aimed at `receiver` (by default the widget with
    // the focus), or nothing while the console is shown.
    std::optional<Action::Holder> holder(const QObject* receiver = nullptr) const;
    // Returns the row `key` aimed at `receiver` (by default the focus) runs, or null when none
    // binds it there or the console is shown.
    const Action* actionFor(QKeyCombination key, const QObject* receiver = nullptr) const;
    // Returns whether the window takes `event`, aimed at `receiver`, before the shortcuts of menus
    // and widgets may: the console takes every key, and a key a row runs is the row's.
    bool takes(const QKeyEvent& event, const QObject* receiver) const;
    // Handles `event` on its way to `receiver`: runs the row it binds and returns true; while the
    // console is shown, hands the key to the console unless it is already on its way there, and
    // returns whether it did; otherwise returns false and the receiver has the key.
    bool press(const QKeyEvent& event, QObject* receiver);
    // Runs the row `key` aimed at `receiver` (by default the focus) binds; returns whether one ran.
    bool run(QKeyCombination key, const QObject* receiver = nullptr);

private:
    QWidget* console() const;

    const CommandTable& m_table;
    PanelPair& m_panels;
    CommandLineField& m_commandLine;
    const ShellCommands& m_shell;
};

} // namespace kiv
