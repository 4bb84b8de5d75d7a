#include "quickview/QuickViewJob.h"

#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"

namespace kiv {

QuickViewJob::QuickViewJob(std::string path)
    : m_path(std::move(path))
{
}

std::string QuickViewJob::title() const
{
    return "Quick view";
}

std::string QuickViewJob::description() const
{
    return "Quick view of " + m_path;
}

JobFootprint QuickViewJob::footprint() const
{
    return { { m_path }, {} };
}

JobOutcome QuickViewJob::run(JobControl& control)
{
    control.startWorking();
    control.beginItem(m_path, 0);
    try {
        m_summary = QuickSummary::of(m_path, &control);
    } catch (const JobCancelled&) {
        return { JobOutcome::End::cancelled, "cancelled" };
    }
    if (m_summary.kind == QuickSummary::Kind::unreadable)
        return { JobOutcome::End::failed, m_summary.problem };
    return { JobOutcome::End::completed, m_path };
}

} // namespace kiv
