#include "sync/FolderCompareJob.h"

#include "base/ErrorText.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "text/KivFormat.h"

#include <algorithm>

namespace kiv {

FolderCompareJob::FolderCompareJob(std::string leftRoot, std::string rightRoot, FolderComparison::Mode mode)
    : m_leftRoot(std::move(leftRoot))
    , m_rightRoot(std::move(rightRoot))
    , m_mode(mode)
{
}

std::string FolderCompareJob::title() const
{
    return "Compare folders";
}

std::string FolderCompareJob::description() const
{
    return "Compare " + m_leftRoot + " with " + m_rightRoot;
}

JobFootprint FolderCompareJob::footprint() const
{
    return { { m_leftRoot, m_rightRoot }, {} };
}

JobOutcome FolderCompareJob::run(JobControl& control)
{
    control.startWorking();
    try {
        m_items = FolderComparison::compare(m_leftRoot, m_rightRoot, m_mode, &control);
    } catch (const JobCancelled&) {
        return { JobOutcome::End::cancelled, "Comparison cancelled" };
    } catch (const std::exception& error) {
        return { JobOutcome::End::failed, userMessage(error) };
    }
    const auto unreadable = std::count_if(m_items.begin(), m_items.end(),
        [](const SyncItem& item) { return item.difference == SyncItem::Difference::unreadable; });
    const std::string found = KivFormat::grouped(std::ssize(m_items) - unreadable) + " differences";
    if (unreadable == 0)
        return { JobOutcome::End::completed, "Found " + found };
    return { JobOutcome::End::incomplete,
        "Found " + found + "; " + KivFormat::grouped(unreadable) + " items could not be read" };
}

} // namespace kiv
