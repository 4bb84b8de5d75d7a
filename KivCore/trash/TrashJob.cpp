#include "trash/TrashJob.h"

#include "base/KivError.h"
#include "jobs/ItemFailures.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "jobs/ProgressText.h"
#include "jobs/WorkTally.h"

namespace kiv {

TrashJob::TrashJob(std::vector<std::string> paths, Trash trash)
    : m_paths(std::move(paths))
    , m_trash(std::move(trash))
{
}

std::string TrashJob::title() const
{
    return "Move to Trash";
}

std::string TrashJob::description() const
{
    return "Move " + ProgressText::subject(m_paths) + " to the trash";
}

JobFootprint TrashJob::footprint() const
{
    return { {}, m_paths };
}

JobOutcome TrashJob::run(JobControl& control)
{
    ItemFailures failures(control);
    WorkTally tally;
    tally.total = std::int64_t(m_paths.size());
    control.addToTotals(tally.total, 0);
    control.startWorking();
    try {
        for (const std::string& path : m_paths) {
            control.throwIfCancelled();
            control.beginItem(path, 0);
            // The trash's own refusal (none on that file system) is no failure to retry.
            failures.attempt(
                [&] {
                    try {
                        m_trashed.push_back(m_trash.moveToTrash(path));
                    } catch (const KivError& error) {
                        m_refused.push_back(path);
                        m_refusal = error.description();
                    }
                },
                path);
            control.finishItems(1, 0);
        }
    } catch (const JobCancelled&) {
        tally.cancelled = true;
    }
    // The items without a trash get a question of their own once the job has ended.
    tally.total -= std::int64_t(m_refused.size());
    tally.done = std::int64_t(m_trashed.size());
    tally.skipped = failures.skipped();
    tally.lastFailure = failures.lastFailure();
    return tally.outcome("Trashed");
}

} // namespace kiv
