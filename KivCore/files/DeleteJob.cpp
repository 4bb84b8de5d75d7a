#include "files/DeleteJob.h"

#include "base/PathString.h"
#include "files/DirectoryChain.h"
#include "files/SideCount.h"
#include "files/TreeRemoval.h"
#include "jobs/ItemFailures.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "jobs/WorkTally.h"
#include "text/KivFormat.h"

namespace kiv {

DeleteJob::DeleteJob(std::vector<std::string> paths)
    : m_paths(std::move(paths))
{
    // "link/" would name the folder the link points to; the user chose the link.
    for (std::string& path : m_paths)
        path = PathString::standardizing(path);
}

std::string DeleteJob::title() const
{
    return "Delete";
}

std::string DeleteJob::description() const
{
    if (m_paths.size() == 1)
        return "Delete " + m_paths.front();
    return "Delete " + KivFormat::itemCount(std::ssize(m_paths)) + " in "
        + PathString::parentOrRoot(m_paths.front());
}

JobFootprint DeleteJob::footprint() const
{
    return { {}, m_paths };
}

JobOutcome DeleteJob::run(JobControl& control)
{
    ItemFailures failures(control);
    WorkTally tally;
    // Removing starts at once: waiting for a count would cost about as much as the removal.
    SideCount counting(m_paths, control);
    control.startWorking();
    std::int64_t left = 0; // items that stay: skipped, or folders holding what was skipped
    try {
        for (const std::string& path : m_paths) {
            DirectoryChain chain(PathString::parentOrRoot(path));
            TreeRemoval::remove(chain, PathString::lastComponent(path), failures, &control, &left);
        }
    } catch (const JobCancelled&) {
        tally.cancelled = true;
    }
    counting.stop();
    tally.done = control.progress().itemsDone;
    tally.skipped = left;
    // Run to its end, the work saw every item; cancelled, what was not reached is not known: the
    // count beside the work may have missed what the work removed first.
    tally.total = tally.cancelled ? WorkTally::unknown : tally.done + left;
    tally.lastFailure = failures.lastFailure();
    return tally.outcome("Deleted");
}

} // namespace kiv
