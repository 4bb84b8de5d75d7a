#include "remote/SftpDeleteJob.h"

#include "base/PathString.h"
#include "jobs/ItemFailures.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "jobs/WorkTally.h"
#include "remote/SftpDoor.h"
#include "remote/SftpSession.h"
#include "remote/SftpTreeRemoval.h"

namespace kiv {

SftpDeleteJob::SftpDeleteJob(std::shared_ptr<const SftpDoor> door, std::vector<std::string> paths)
    : m_door(std::move(door))
    , m_paths(std::move(paths))
{
    // "link/" would name the folder the link points to; the user chose the link.
    for (std::string& path : m_paths)
        path = PathString::standardizing(path);
}

std::string SftpDeleteJob::description() const
{
    if (m_paths.size() == 1)
        return "Delete " + m_door->displayPath(m_paths.front());
    return "Delete " + std::to_string(m_paths.size()) + " items in "
        + m_door->displayPath(PathString::parentOrRoot(m_paths.front()));
}

JobOutcome SftpDeleteJob::run(JobControl& control)
{
    ItemFailures failures(control);
    WorkTally tally;
    // Counting first would cost a second listing of every folder over the network.
    tally.total = WorkTally::unknown;
    control.startWorking();
    try {
        for (const std::string& path : m_paths)
            // The connection is taken afresh for each item: a lost one fails the item with the reason.
            failures.attempt([&] { SftpTreeRemoval::remove(*m_door->session(), path, control); }, path);
    } catch (const JobCancelled&) {
        tally.cancelled = true;
    }
    tally.done = control.progress().itemsDone;
    tally.skipped = failures.skipped();
    tally.lastFailure = failures.lastFailure();
    return tally.outcome("Deleted");
}

} // namespace kiv
