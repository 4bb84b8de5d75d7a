#include "history/OperationHistory.h"

#include "history/ReplayJob.h"

namespace kiv {

OperationHistory::OperationHistory(Trash trash)
    : m_trash(std::move(trash))
{
}

void OperationHistory::record(OperationRecord record)
{
    if (record.steps.empty())
        return;
    m_undone.clear();
    push(m_done, std::move(record));
}

const OperationRecord* OperationHistory::nextUndo() const
{
    return m_done.empty() || m_replaying ? nullptr : &m_done.back();
}

const OperationRecord* OperationHistory::nextRedo() const
{
    return m_undone.empty() || m_replaying ? nullptr : &m_undone.back();
}

std::shared_ptr<ReplayJob> OperationHistory::startUndo()
{
    return start(m_done, ReplayJob::Direction::undo);
}

std::shared_ptr<ReplayJob> OperationHistory::startRedo()
{
    return start(m_undone, ReplayJob::Direction::redo);
}

std::shared_ptr<ReplayJob> OperationHistory::start(
    std::vector<OperationRecord>& from, OperationReplay::Direction direction)
{
    if (from.empty() || m_replaying)
        return nullptr;
    auto job = std::make_shared<ReplayJob>(std::move(from.back()), direction, m_trash);
    from.pop_back();
    m_replaying = true;
    return job;
}

void OperationHistory::finish(ReplayJob& job)
{
    const bool undo = job.direction() == ReplayJob::Direction::undo;
    push(undo ? m_done : m_undone, std::move(job.remaining()));
    push(undo ? m_undone : m_done, std::move(job.replayed()));
    m_replaying = false;
}

void OperationHistory::push(std::vector<OperationRecord>& stack, OperationRecord record)
{
    if (record.steps.empty())
        return;
    stack.push_back(std::move(record));
    if (stack.size() > capacity)
        stack.erase(stack.begin());
}

} // namespace kiv
