#include "remote/SftpCopyJob.h"

#include "base/PathString.h"
#include "files/DirectoryChain.h"
#include "files/TreeRemoval.h"
#include "jobs/ItemFailures.h"
#include "jobs/JobControl.h"
#include "remote/SftpDownload.h"
#include "remote/SftpSession.h"
#include "remote/SftpTreeRemoval.h"
#include "remote/SftpUpload.h"
#include "text/KivFormat.h"

namespace kiv {

SftpCopyJob::SftpCopyJob(std::shared_ptr<SftpSession> session, Direction direction, std::vector<std::string> sources,
    std::string target, Mode mode)
    : m_session(std::move(session))
    , m_direction(direction)
    , m_sources(std::move(sources))
    , m_target(std::move(target))
    , m_mode(mode)
{
}

std::string SftpCopyJob::description() const
{
    const std::string what = m_sources.size() == 1 ? m_sources.front() : KivFormat::itemCount(std::ssize(m_sources));
    const std::string where = m_direction == Direction::upload ? m_session->placeOf(m_target).url() : m_target;
    return title() + " " + what + " to " + where;
}

JobFootprint SftpCopyJob::footprint() const
{
    // Only the local side: paths on a server never clash with local ones.
    if (m_direction == Direction::download)
        return { {}, { m_target } };
    if (m_mode == Mode::move)
        return { {}, m_sources };
    return { m_sources, {} };
}

JobOutcome SftpCopyJob::run(JobControl& control)
{
    if (m_direction == Direction::download) {
        SftpDownload download(m_session, control);
        return runWith(download, control);
    }
    SftpUpload upload(m_session, control);
    return runWith(upload, control);
}

template <typename Transfer> JobOutcome SftpCopyJob::runWith(Transfer& transfer, JobControl& control)
{
    for (const std::string& source : m_sources)
        transfer.count(source);
    // A move removes each item it copied: the removals count as items too.
    if (m_mode == Mode::move)
        control.addToTotals(control.progress().itemsTotal, 0);
    control.startWorking();
    ItemFailures removals(control);
    int kept = 0;
    for (const std::string& source : m_sources) {
        const int leftOut = transfer.leftOut();
        transfer.copy(source, m_target);
        if (m_mode == Mode::copy)
            continue;
        if (transfer.leftOut() == leftOut)
            removeSource(source, removals, control);
        else
            ++kept;
    }
    const int skipped = transfer.failures().skipped() + removals.skipped();
    if (skipped > 0) {
        const std::string& last
            = removals.lastFailure().empty() ? transfer.failures().lastFailure() : removals.lastFailure();
        return { JobOutcome::End::incomplete, std::to_string(skipped) + " items skipped; " + last };
    }
    if (kept > 0)
        return { JobOutcome::End::incomplete,
            std::to_string(kept) + " items stay where they were: not all of each was copied", true };
    return { JobOutcome::End::completed, m_mode == Mode::move ? "Moved" : "Copied" };
}

void SftpCopyJob::removeSource(const std::string& path, ItemFailures& failures, JobControl& control) const
{
    if (m_direction == Direction::download) {
        failures.attempt([&] { SftpTreeRemoval::remove(*m_session, path, control); }, path);
        return;
    }
    DirectoryChain chain(PathString::parentOrRoot(path));
    TreeRemoval::remove(chain, PathString::lastComponent(path), failures, &control);
}

} // namespace kiv
