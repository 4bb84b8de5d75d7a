#include "commands/UndoRecording.h"

#include "commands/CommandContext.h"
#include "history/OperationHistory.h"
#include "history/RecordedJob.h"
#include "jobscreen/JobRunner.h"

namespace kiv::UndoRecording {

void start(const CommandContext& context, std::shared_ptr<Job> work, const TransferReport& report,
    OperationRecord::Kind kind, std::shared_ptr<const Door> place)
{
    auto job = std::make_shared<RecordedJob>(std::move(work), report, kind, std::move(place));
    context.jobs.start(
        job, [job, &history = context.history](const JobOutcome&) { history.record(job->takeRecord()); });
}

} // namespace kiv::UndoRecording
