#include "commands/CommandTable.h"

#include "panels/PanelViewController.h"

#include <QKeyEvent>
#include <QPointer>
#include <algorithm>

namespace kiv {

namespace {

constexpr Qt::KeyboardModifiers chordModifiers
    = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// A printable key other than a letter: what it types already says whether Shift was down.
bool isSymbol(Qt::Key key)
{
    return key > Qt::Key_Space && key <= Qt::Key_AsciiTilde && !(key >= Qt::Key_A && key <= Qt::Key_Z);
}

bool isFunctionKey(Qt::Key key)
{
    return key >= Qt::Key_F1 && key <= Qt::Key_F10;
}

bool binds(const Action& action, QKeyCombination key, Action::Holder holder)
{
    return (action.when & holder) != 0 && action.run
        && std::any_of(action.keys.begin(), action.keys.end(),
            [key](const QKeySequence& bound) { return bound[0] == key; });
}

QString menuTitle(const Action& action, const std::optional<QString>& detail)
{
    QString title = action.menu->title;
    if (detail)
        title += QLatin1Char(' ') + *detail;
    if (!action.keys.empty())
        title += QStringLiteral("  (") + CommandTable::keyName(action.keys.front()) + QLatin1Char(')');
    return title;
}

RetroMenuItem menuItem(const Action& action, PanelViewController& panel)
{
    const Action::MenuEntry& entry = *action.menu;
    const std::optional<QString> detail = entry.detail ? entry.detail() : std::nullopt;
    if (entry.detail && !detail) // cannot run now, but its key still shown as on every entry
        return RetroMenuItem::item(menuTitle(action, {}), {}, entry.letter);
    return RetroMenuItem::item(
        menuTitle(action, detail),
        [run = action.run, target = QPointer<PanelViewController>(&panel)] {
            if (target)
                run(*target);
        },
        entry.letter);
}

} // namespace

void CommandTable::setActions(std::vector<Action> actions)
{
    m_actions = std::move(actions);
}

const Action* CommandTable::action(std::string_view id) const
{
    const auto found = std::find_if(
        m_actions.begin(), m_actions.end(), [id](const Action& action) { return action.id == id; });
    return found == m_actions.end() ? nullptr : &*found;
}

const Action* CommandTable::actionFor(QKeyCombination key, Action::Holder holder) const
{
    for (const Action& action : m_actions)
        if (binds(action, key, holder))
            return &action;
    if (isFunctionKey(key.key()) && key.keyboardModifiers() != Qt::NoModifier)
        return actionFor(QKeyCombination(key.key()), holder);
    return nullptr;
}

QKeyCombination CommandTable::keyOf(const QKeyEvent& event)
{
    auto key = Qt::Key(event.key());
    Qt::KeyboardModifiers modifiers = event.modifiers() & chordModifiers;
    if (key == Qt::Key_Enter)
        key = Qt::Key_Return;
    if (key == Qt::Key_Backtab) {
        key = Qt::Key_Tab;
        modifiers |= Qt::ShiftModifier;
    }
    if (isSymbol(key))
        modifiers &= ~Qt::ShiftModifier;
    return QKeyCombination(modifiers, key);
}

QString CommandTable::keyName(const QKeySequence& key)
{
    return key.toString(QKeySequence::NativeText);
}

std::vector<RetroMenuItem> CommandTable::menuItems(Action::Pulldown menu, PanelViewController& panel) const
{
    std::vector<const Action*> entries;
    for (const Action& action : m_actions)
        if (action.menu && action.menu->menu == menu)
            entries.push_back(&action);
    std::stable_sort(entries.begin(), entries.end(),
        [](const Action* one, const Action* other) { return one->menu->section < other->menu->section; });
    std::vector<RetroMenuItem> items;
    for (std::size_t at = 0; at < entries.size(); ++at) {
        if (at > 0 && entries[at - 1]->menu->section != entries[at]->menu->section)
            items.push_back(RetroMenuItem::separator());
        items.push_back(menuItem(*entries[at], panel));
    }
    return items;
}

} // namespace kiv
