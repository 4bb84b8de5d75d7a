#include "files/DeleteJob.h"

#include "files/DirectoryChain.h"
#include "base/PathString.h"
#include "files/TreeCount.h"
#include "files/TreeRemoval.h"
#include "jobs/ItemFailures.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "jobs/WorkTally.h"

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
    return "Delete " + std::to_string(m_paths.size()) + " items in "
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
    try {
        for (const std::string& path : m_paths) {
            DirectoryChain chain(PathString::parentOrRoot(path));
            tally.total += TreeCount::count(chain, PathString::lastComponent(path), &control).items;
        }
        control.startWorking();
        for (const std::string& path : m_paths) {
            DirectoryChain chain(PathString::parentOrRoot(path));
            TreeRemoval::remove(chain, PathString::lastComponent(path), failures, &control);
        }
    } catch (const JobCancelled&) {
        tally.cancelled = true;
    }
    tally.done = control.progress().itemsDone;
    tally.skipped = failures.skipped();
    tally.lastFailure = failures.lastFailure();
    return tally.outcome("Deleted");
}

} // namespace kiv
