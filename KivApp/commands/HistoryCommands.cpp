#include "commands/HistoryCommands.h"

#include "base/ErrorText.h"
#include "history/OperationHistory.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/ShownText.h"
#include "toolkit/Weakly.h"

namespace kiv {

namespace {

RetroMenuItem menuItem(const QString& verb, const OperationRecord* record, const QString& key, QChar letter,
    std::function<void()> action)
{
    if (!record)
        return RetroMenuItem::item(verb, {}, letter);
    return RetroMenuItem::item(
        verb + QLatin1Char(' ') + ShownText::of(record->description()) + "  (" + key + ")", std::move(action),
        letter);
}

} // namespace

HistoryCommands::HistoryCommands(CommandContext context, QObject* parent)
    : QObject(parent)
    , m_context(context)
{
}

void HistoryCommands::undoOperation()
{
    replay(&OperationHistory::undo, m_context.history.nextUndo() != nullptr, QStringLiteral("Undo"),
        QStringLiteral("Undone"));
}

void HistoryCommands::redoOperation()
{
    replay(&OperationHistory::redo, m_context.history.nextRedo() != nullptr, QStringLiteral("Redo"),
        QStringLiteral("Redone"));
}

RetroMenuItem HistoryCommands::undoMenuItem()
{
    return menuItem(QStringLiteral("Undo"), m_context.history.nextUndo(), QStringLiteral("Ctrl+Z"), u'o',
        weakly(this, &HistoryCommands::undoOperation));
}

RetroMenuItem HistoryCommands::redoMenuItem()
{
    return menuItem(QStringLiteral("Redo"), m_context.history.nextRedo(), QStringLiteral("Ctrl+Shift+Z"),
        u'e', weakly(this, &HistoryCommands::redoOperation));
}

void HistoryCommands::replay(Replay replay, bool possible, const QString& verb, const QString& done)
{
    PanelViewController& active = m_context.panels.active();
    if (!possible) {
        active.showNotice(QStringLiteral("Nothing to ") + verb.toLower());
        return;
    }
    QString notice;
    try {
        notice = done + QStringLiteral(": ") + ShownText::of((m_context.history.*replay)());
    } catch (const std::exception& error) {
        RetroDialogs::message(&m_context.dialogParent, verb, ShownText::of(userMessage(error)));
    }
    // Relisted even after a refusal: an item that failed half way may have moved some.
    active.reload();
    m_context.panels.other(active).reload();
    if (!notice.isEmpty())
        active.showNotice(notice);
}

} // namespace kiv
