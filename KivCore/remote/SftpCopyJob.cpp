#include "remote/SftpCopyJob.h"

#include "jobs/JobControl.h"
#include "remote/SftpDownload.h"
#include "remote/SftpSession.h"
#include "remote/SftpUpload.h"

namespace kiv {

SftpCopyJob::SftpCopyJob(std::shared_ptr<SftpSession> session, Direction direction, std::vector<std::string> sources,
    std::string target)
    : m_session(std::move(session))
    , m_direction(direction)
    , m_sources(std::move(sources))
    , m_target(std::move(target))
{
}

std::string SftpCopyJob::description() const
{
    const std::string what = m_sources.size() == 1 ? m_sources.front() : std::to_string(m_sources.size()) + " items";
    const std::string where = m_direction == Direction::upload ? m_session->placeOf(m_target).url() : m_target;
    return "Copy " + what + " to " + where;
}

JobFootprint SftpCopyJob::footprint() const
{
    // Only the local side: paths on a server never clash with local ones.
    if (m_direction == Direction::download)
        return { {}, { m_target } };
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
    control.startWorking();
    for (const std::string& source : m_sources)
        transfer.copy(source, m_target);
    const auto& failures = transfer.failures();
    if (failures.skipped() > 0)
        return { JobOutcome::End::incomplete,
            std::to_string(failures.skipped()) + " items skipped; " + failures.lastFailure() };
    return { JobOutcome::End::completed, "Copied" };
}

} // namespace kiv
