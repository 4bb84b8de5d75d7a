#include "commands/KeyRouter.h"

#include "commands/CommandTable.h"
#include "commands/ShellCommands.h"
#include "console/CommandLineField.h"
#include "console/ConsoleView.h"
#include "panels/PanelPair.h"
#include "panels/PanelTableView.h"
#include "panels/PanelViewController.h"
#include "viewer/PanelEditorView.h"

#include <QApplication>
#include <QKeyEvent>

namespace kiv {

KeyRouter::KeyRouter(
    const CommandTable& table, PanelPair& panels, CommandLineField& commandLine, const ShellCommands& shell)
    : m_table(table)
    , m_panels(panels)
    , m_commandLine(commandLine)
    , m_shell(shell)
{
}

QWidget* KeyRouter::console() const
{
    return m_shell.console();
}

// A key a widget left unanswered goes on to its parents, each "elsewhere": no row runs there that
// did not run for the widget itself.
std::optional<Action::Holder> KeyRouter::holder(const QObject* receiver) const
{
    if (console())
        return std::nullopt;
    const QObject* target = receiver ? receiver : QApplication::focusWidget();
    const auto* widget = qobject_cast<const QWidget*>(target);
    if (!widget)
        return Action::elsewhere;
    if (widget == &m_commandLine)
        return Action::commandLine;
    for (const PanelViewController* panel : { &m_panels.left(), &m_panels.right() }) {
        if (widget == panel->tableView())
            return Action::panel;
        if (panel->editorView() && panel->editorView()->isAncestorOf(widget))
            return Action::editor;
    }
    return Action::elsewhere;
}

const Action* KeyRouter::actionFor(QKeyCombination key, const QObject* receiver) const
{
    const std::optional<Action::Holder> now = holder(receiver);
    return now ? m_table.actionFor(key, *now) : nullptr;
}

bool KeyRouter::takes(const QKeyEvent& event, const QObject* receiver) const
{
    return console() || actionFor(CommandTable::keyOf(event), receiver);
}

bool KeyRouter::press(const QKeyEvent& event, QObject* receiver)
{
    if (QWidget* shown = console()) {
        const auto* target = qobject_cast<QWidget*>(receiver);
        if (target && (target == shown || shown->isAncestorOf(target)))
            return false;
        // The focus strayed behind the console: the key is the console's all the same.
        shown->setFocus();
        QKeyEvent copy(event.type(), event.key(), event.modifiers(), event.text(), event.isAutoRepeat());
        QCoreApplication::sendEvent(shown, &copy);
        return true;
    }
    return run(CommandTable::keyOf(event), receiver);
}

bool KeyRouter::run(QKeyCombination key, const QObject* receiver)
{
    const Action* action = actionFor(key, receiver);
    if (!action)
        return false;
    const QObject* target = receiver ? receiver : QApplication::focusWidget();
    for (PanelViewController* panel : { &m_panels.left(), &m_panels.right() }) {
        if (target == panel->tableView()) {
            // A key pressed on a panel ends the notice in its status line, as any key there does.
            panel->showNotice({});
            action->run(*panel);
            return true;
        }
    }
    action->run(m_panels.active());
    return true;
}

} // namespace kiv
