#include "commands/UndoCommands.h"

#include "history/OperationHistory.h"
#include "history/ReplayJob.h"
#include "jobscreen/JobRunner.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "toolkit/ShownText.h"
#include "toolkit/Weakly.h"

namespace kiv {

namespace {

RetroMenuItem menuItem(const QString& verb, const OperationRecord* record, const QString& key, QChar letter,
    std::function<void()> action)
{
    if (!record) // disabled, but its key still shown as on every entry
        return RetroMenuItem::item(verb + "  (" + key + ")", {}, letter);
    return RetroMenuItem::item(
        verb + QLatin1Char(' ') + ShownText::of(record->description()) + "  (" + key + ")", std::move(action),
        letter);
}

} // namespace

UndoCommands::UndoCommands(CommandContext context, QObject* parent)
    : QObject(parent)
    , m_context(context)
{
}

void UndoCommands::undoOperation()
{
    replay(&OperationHistory::startUndo, QStringLiteral("undo"));
}

void UndoCommands::redoOperation()
{
    replay(&OperationHistory::startRedo, QStringLiteral("redo"));
}

RetroMenuItem UndoCommands::undoMenuItem()
{
    return menuItem(QStringLiteral("Undo"), m_context.history.nextUndo(), QStringLiteral("Ctrl+Z"), u'o',
        weakly(this, &UndoCommands::undoOperation));
}

RetroMenuItem UndoCommands::redoMenuItem()
{
    return menuItem(QStringLiteral("Redo"), m_context.history.nextRedo(), QStringLiteral("Ctrl+Shift+Z"),
        u'e', weakly(this, &UndoCommands::redoOperation));
}

void UndoCommands::replay(Start start, const QString& verb)
{
    OperationHistory& history = m_context.history;
    if (history.isReplaying()) {
        m_context.panels.active().showNotice(QStringLiteral("Wait: an undo or redo is still running"));
        return;
    }
    const std::shared_ptr<ReplayJob> job = (history.*start)();
    if (!job) {
        m_context.panels.active().showNotice(QStringLiteral("Nothing to ") + verb);
        return;
    }
    // A refusal or a failure ends in the jobs' own "Job Ended" dialog; a success says so below.
    m_context.jobs.start(job, [job, context = m_context](const JobOutcome& outcome) {
        context.history.finish(*job);
        if (outcome.end == JobOutcome::End::completed)
            context.panels.active().showNotice(ShownText::of(outcome.summary));
    });
}

} // namespace kiv
