#pragma once

#include "commands/Action.h"
#include "toolkit/RetroMenuItem.h"

#include <QKeyCombination>
#include <string_view>
#include <vector>

class QKeyEvent;

namespace kiv {

// The rows of every action, and what is made of them: which action a key runs where the keyboard
// is, and the entries of the pulldown menus with their keys named from the rows.
class CommandTable
{
public:
    // Takes the rows, in the order the help and the menus list them. REQUIRES: called once.
    void setActions(std::vector<Action> actions);
    // Returns the rows.
    const std::vector<Action>& actions() const { return m_actions; }
    // Returns the row named `id`, or null.
    const Action* action(std::string_view id) const;

    // Returns the row that `key` runs where `holder` holds the keyboard, or null. A function key
    // pressed with modifiers no row binds runs what it runs without them.
    const Action* actionFor(QKeyCombination key, Action::Holder holder) const;
    // Returns the key `event` is, as the rows name it: keypad keys as the main ones, Enter as
    // Return, Shift+Tab as Shift and Tab, and a symbol typed with Shift ("*", "+") without it.
    static QKeyCombination keyOf(const QKeyEvent& event);
    // Returns the key as this platform names it ("Backspace", "Ctrl+S" or their Mac signs).
    static QString keyName(const QKeySequence& key);

    // Returns the entries of `menu` for `panel`, each titled with its first key and running its
    // row for `panel` while that panel exists; a rule parts the sections.
    std::vector<RetroMenuItem> menuItems(Action::Pulldown menu, PanelViewController& panel) const;

private:
    std::vector<Action> m_actions;
};

} // namespace kiv
