#include "attributes/AttributesReadJob.h"

#include "jobs/JobControl.h"
#include "jobs/ProgressText.h"

namespace kiv {

AttributesReadJob::AttributesReadJob(std::vector<std::string> paths)
    : m_paths(std::move(paths))
{
}

std::string AttributesReadJob::description() const
{
    return "Read the attributes of " + ProgressText::subject(m_paths);
}

JobOutcome AttributesReadJob::run(JobControl& control)
{
    control.addToTotals(std::ssize(m_paths), 0);
    control.startWorking();
    std::vector<ItemAttributes> items;
    for (const std::string& path : m_paths) {
        control.throwIfCancelled();
        items.push_back(ItemAttributes::of(path));
        control.finishItems(1, 0);
    }
    m_items = std::move(items);
    return { JobOutcome::End::completed, "Read " + ProgressText::subject(m_paths) };
}

} // namespace kiv
