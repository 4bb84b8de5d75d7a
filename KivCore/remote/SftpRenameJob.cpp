#include "remote/SftpRenameJob.h"

#include "base/KivError.h"
#include "base/PathString.h"
#include "jobs/ItemFailures.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "jobs/WorkTally.h"
#include "remote/SftpDoor.h"
#include "text/KivFormat.h"

namespace kiv {

SftpRenameJob::SftpRenameJob(std::shared_ptr<const SftpDoor> door, std::vector<std::string> paths, std::string destination)
    : m_door(std::move(door))
    , m_paths(std::move(paths))
    , m_destination(PathString::standardizing(destination))
{
    // "link/" would name the folder the link points to; the user chose the link.
    for (std::string& path : m_paths)
        path = PathString::standardizing(path);
}

std::string SftpRenameJob::description() const
{
    const std::string what
        = m_paths.size() == 1 ? m_door->displayPath(m_paths.front()) : KivFormat::itemCount(std::ssize(m_paths));
    return "Move " + what + " to " + m_destination;
}

JobOutcome SftpRenameJob::run(JobControl& control)
{
    const auto facts = m_door->info(m_destination, Door::Link::followed);
    const bool intoFolder = facts && facts->type == ItemInfo::Type::folder;
    if (!intoFolder && m_paths.size() > 1)
        throw KivError::notADirectory(m_destination);
    control.addToTotals(static_cast<std::int64_t>(m_paths.size()), 0);
    control.startWorking();
    ItemFailures failures(control);
    WorkTally tally;
    tally.total = static_cast<std::int64_t>(m_paths.size());
    try {
        for (const std::string& path : m_paths) {
            control.throwIfCancelled();
            control.beginItem(path, 0);
            const std::string to = intoFolder
                ? PathString::appendingComponent(m_destination, PathString::lastComponent(path))
                : m_destination;
            // Already there: renaming onto itself would only fail on a taken name.
            if (to == path || failures.attempt([&] { m_door->rename(path, to); }, path))
                control.finishItems(1, 0);
        }
    } catch (const JobCancelled&) {
        tally.cancelled = true;
    }
    tally.done = control.progress().itemsDone;
    tally.skipped = failures.skipped();
    tally.lastFailure = failures.lastFailure();
    return tally.outcome("Moved");
}

} // namespace kiv
