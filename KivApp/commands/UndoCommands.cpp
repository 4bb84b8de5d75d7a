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

std::optional<QString> describe(const OperationRecord* record)
{
    if (!record)
        return std::nullopt;
    return ShownText::of(record->description());
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

std::optional<QString> UndoCommands::nextUndo() const
{
    return describe(m_context.history.nextUndo());
}

std::optional<QString> UndoCommands::nextRedo() const
{
    return describe(m_context.history.nextRedo());
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
