#include "history/ItemChangeJob.h"

#include "base/ErrorText.h"
#include "doors/Door.h"
#include "jobs/JobControl.h"

namespace kiv {

std::shared_ptr<ItemChangeJob> ItemChangeJob::makingFolder(std::shared_ptr<const Door> door, std::string path)
{
    return std::shared_ptr<ItemChangeJob>(
        new ItemChangeJob(std::move(door), OperationRecord::Kind::makeFolder, {}, std::move(path)));
}

std::shared_ptr<ItemChangeJob> ItemChangeJob::renaming(
    std::shared_ptr<const Door> door, std::string from, std::string to)
{
    return std::shared_ptr<ItemChangeJob>(
        new ItemChangeJob(std::move(door), OperationRecord::Kind::rename, std::move(from), std::move(to)));
}

ItemChangeJob::ItemChangeJob(
    std::shared_ptr<const Door> door, OperationRecord::Kind kind, std::string from, std::string to)
    : m_door(std::move(door))
    , m_from(std::move(from))
    , m_to(std::move(to))
    , m_record { kind, {} }
{
}

std::string ItemChangeJob::title() const
{
    return m_from.empty() ? "Make folder" : "Rename";
}

std::string ItemChangeJob::description() const
{
    return m_from.empty() ? "Make the folder " + m_to : "Rename " + m_from + " to " + m_to;
}

JobFootprint ItemChangeJob::footprint() const
{
    if (m_from.empty())
        return { {}, { m_to } };
    return { {}, { m_from, m_to } };
}

JobOutcome ItemChangeJob::run(JobControl& control)
{
    control.addToTotals(1, 0);
    control.startWorking();
    control.beginItem(m_to, 0);
    try {
        change();
    } catch (const std::exception& error) {
        return { JobOutcome::End::failed, userMessage(error) };
    }
    record();
    control.finishItems(1, 0);
    return { JobOutcome::End::completed, description() };
}

void ItemChangeJob::change() const
{
    if (m_from.empty())
        m_door->makeFolder(m_to);
    else
        m_door->rename(m_from, m_to);
}

void ItemChangeJob::record()
{
    // The history replays a change where it was made: on this machine's disk, or on a server
    // through its door, so that a local item of the same path is never taken for one there.
    if (m_door->kind() == Door::Kind::remote)
        m_record.place = m_door;
    else if (!m_door->localPath(m_to))
        return;
    try {
        if (m_from.empty())
            m_record.addMade({}, m_to);
        else
            m_record.addRenamed(m_from, m_to);
    } catch (const std::exception&) {
        // Gone again at once: nothing is left to undo.
    }
}

OperationRecord ItemChangeJob::takeRecord()
{
    return m_record.taken();
}

} // namespace kiv
