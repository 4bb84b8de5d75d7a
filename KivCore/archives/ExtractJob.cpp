#include "archives/ExtractJob.h"

#include "base/PathString.h"
#include "files/TransferSession.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "jobs/WorkTally.h"
#include "text/KivFormat.h"

#include <exception>

namespace kiv {

ExtractJob::ExtractJob(std::string archivePath, std::vector<Member> members, std::string destination)
    : m_archivePath(std::move(archivePath))
    , m_members(std::move(members))
    , m_destination(std::move(destination))
{
}

std::string ExtractJob::title() const
{
    return "Extract";
}

std::string ExtractJob::description() const
{
    std::string what = PathString::lastComponent(m_archivePath);
    if (m_members.size() == 1)
        what = PathString::lastComponent(m_members.front().path) + " from " + what;
    else if (!m_members.empty())
        what = KivFormat::itemCount(std::ssize(m_members)) + " from " + what;
    return "Extract " + what + " to " + m_destination;
}

JobFootprint ExtractJob::footprint() const
{
    return { { m_archivePath }, { m_destination } };
}

JobOutcome ExtractJob::run(JobControl& control)
{
    TransferSession session(control);
    WorkTally tally;
    // The progress counts the selections; a whole archive is one.
    control.addToTotals(m_members.empty() ? 1 : static_cast<std::int64_t>(m_members.size()), 0);
    control.startWorking();
    std::exception_ptr failure;
    try {
        if (m_members.empty())
            m_archives.extractAll(m_archivePath, m_destination, session);
        for (const Member& member : m_members) {
            m_archives.extract(m_archivePath, member.path, member.kind, m_destination, session);
            control.finishItems(1, 0);
        }
    } catch (const JobCancelled&) {
        tally.cancelled = true;
    } catch (...) {
        failure = std::current_exception();
    }
    // What was taken out before an archive damaged past reading stopped the job stays undoable.
    m_report = std::move(session.report);
    if (failure)
        std::rethrow_exception(failure);
    // The summary counts members, which are known once read: run to its end, every one was placed
    // or skipped; cancelled, what was not reached is not known.
    tally.done = session.done;
    tally.skipped = session.skipped + session.failures.skipped();
    tally.total = tally.cancelled ? WorkTally::unknown : tally.done + tally.skipped;
    tally.lastFailure = session.failures.lastFailure();
    return tally.outcome("Extracted");
}

} // namespace kiv
