#include "attributes/AttributesJob.h"

#include "base/PathString.h"
#include "files/DiskItem.h"
#include "files/TreeWalk.h"
#include "jobs/ItemFailures.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "jobs/WorkTally.h"

namespace kiv {

AttributesJob::AttributesJob(std::vector<std::string> paths, AttributeChange change)
    : m_paths(std::move(paths))
    , m_change(change)
{
}

std::string AttributesJob::title() const
{
    return "Attributes";
}

std::string AttributesJob::description() const
{
    if (m_paths.size() == 1)
        return "Change the attributes of " + m_paths.front();
    return "Change the attributes of " + std::to_string(m_paths.size()) + " items in "
        + PathString::parentOrRoot(m_paths.front());
}

JobFootprint AttributesJob::footprint() const
{
    return { {}, m_paths };
}

// Every item in walking order, each folder before what it holds.
std::vector<std::string> AttributesJob::itemsToChange(JobControl& control, std::string& lastRefusal) const
{
    std::vector<std::string> items;
    const auto visit = [&](const TreeWalk::Item& item) {
        items.push_back(PathString::appendingComponent(item.folder, item.name));
        control.addToTotals(1, 0);
    };
    const auto refused
        = [&](const std::string& folder, const std::string& why) { lastRefusal = why + ": " + folder; };
    for (const std::string& path : m_paths) {
        items.push_back(path);
        control.addToTotals(1, 0);
        if (m_change.goesInside() && DiskItem::isRealFolder(path))
            TreeWalk(TreeWalk::Detail::kind, visit, refused, &control).walk(path);
    }
    return items;
}

void AttributesJob::change(const std::string& path)
{
    const ItemAttributes now = ItemAttributes::of(path);
    if (!m_change.reaches(now))
        return;
    const ItemAttributes wanted = m_change.appliedTo(now);
    if (wanted == now)
        return;
    try {
        ItemAttributes::apply(path, now, wanted);
    } catch (...) {
        // Part of it may be made (the owner, say): that part is recorded too.
        if (const ItemAttributes after = ItemAttributes::of(path); after != now)
            m_record.addAttributes(path, now, after);
        throw;
    }
    if (const ItemAttributes after = ItemAttributes::of(path); after != now)
        m_record.addAttributes(path, now, after);
}

JobOutcome AttributesJob::run(JobControl& control)
{
    WorkTally tally;
    ItemFailures failures(control);
    std::string lastRefusal;
    try {
        const std::vector<std::string> items = itemsToChange(control, lastRefusal);
        tally.total = std::int64_t(items.size());
        control.startWorking();
        for (auto path = items.rbegin(); path != items.rend(); ++path) {
            control.throwIfCancelled();
            control.beginItem(*path, 0);
            if (failures.attempt([&] { change(*path); }, *path))
                tally.done += 1;
            else
                tally.skipped += 1;
            control.finishItems(1, 0);
        }
    } catch (const JobCancelled&) {
        tally.cancelled = true;
    }
    tally.lastFailure = failures.lastFailure().empty() ? lastRefusal : failures.lastFailure();
    return tally.outcome("Changed the attributes of");
}

OperationRecord AttributesJob::takeRecord()
{
    return m_record.taken();
}

} // namespace kiv
