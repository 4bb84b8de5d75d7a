#include "jobs/JobQueue.h"

#include "jobs/Job.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"

#include <algorithm>

namespace kiv {

struct JobQueue::Slot
{
    Id id;
    std::shared_ptr<Job> job;
    std::shared_ptr<JobControl> control;
    JobFootprint footprint;
    std::unique_ptr<JobThread> thread; // set once started
};

// What a job's thread reaches the queue through: the queue until it is closed, then nothing.
struct JobQueue::Gate
{
    std::mutex mutex;
    JobQueue* queue;
};

JobQueue::JobQueue(std::function<void()> onChange)
    : m_onChange(std::move(onChange))
    , m_gate(std::make_shared<Gate>())
{
    m_gate->queue = this;
}

JobQueue::~JobQueue()
{
    close(std::chrono::milliseconds::max());
}

void JobQueue::close(std::chrono::milliseconds patience)
{
    std::vector<std::unique_ptr<JobThread>> threads;
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
        for (auto& slot : m_slots) {
            slot->control->cancel();
            if (slot->thread)
                threads.push_back(std::move(slot->thread));
        }
        for (auto& thread : m_endedThreads)
            threads.push_back(std::move(thread));
        m_endedThreads.clear();
    }
    // Waited for without the lock: an ending job reports back to the queue first.
    const auto deadline = std::chrono::steady_clock::now()
        + std::min(patience, std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::hours(24 * 365)));
    for (const auto& thread : threads)
        thread->waitFor(std::max(std::chrono::milliseconds(0),
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())));
    {
        std::lock_guard lock(m_gate->mutex);
        m_gate->queue = nullptr;
    }
    for (const auto& thread : threads) {
        if (!thread->hasEnded())
            thread->abandon();
    }
}

JobQueue::Id JobQueue::add(std::shared_ptr<Job> job, std::shared_ptr<JobControl> control)
{
    Id id;
    {
        std::lock_guard lock(m_mutex);
        id = m_nextId++;
        auto slot = std::make_unique<Slot>();
        slot->id = id;
        slot->footprint = job->footprint();
        slot->job = std::move(job);
        slot->control = std::move(control);
        m_slots.push_back(std::move(slot));
        startNextLocked();
    }
    notify();
    return id;
}

void JobQueue::startLocked(Slot& slot)
{
    const Id id = slot.id;
    slot.thread = std::make_unique<JobThread>(slot.job, slot.control, [gate = m_gate, id](const JobOutcome& outcome) {
        std::lock_guard lock(gate->mutex);
        if (gate->queue)
            gate->queue->jobEnded(id, outcome);
    });
}

// Jobs run one after another: the first waiting one starts only when none runs.
void JobQueue::startNextLocked()
{
    if (m_closing)
        return;
    const bool anyRunning = std::any_of(
        m_slots.begin(), m_slots.end(), [](const auto& slot) { return slot->thread != nullptr; });
    if (anyRunning || m_slots.empty())
        return;
    startLocked(*m_slots.front());
}

bool JobQueue::startNow(Id id)
{
    {
        std::lock_guard lock(m_mutex);
        auto found
            = std::find_if(m_slots.begin(), m_slots.end(), [id](const auto& slot) { return slot->id == id; });
        if (m_closing || found == m_slots.end() || (*found)->thread)
            return false;
        for (const auto& slot : m_slots) {
            if (slot->thread && slot->footprint.clashesWith((*found)->footprint))
                return false;
        }
        startLocked(**found);
    }
    notify();
    return true;
}

void JobQueue::cancel(Id id)
{
    {
        std::lock_guard lock(m_mutex);
        auto found
            = std::find_if(m_slots.begin(), m_slots.end(), [id](const auto& slot) { return slot->id == id; });
        if (found == m_slots.end())
            return;
        Slot& slot = **found;
        slot.control->cancel();
        if (slot.thread)
            return; // it ends by itself, soon
        m_ended.push_back({ id, slot.job->title(), slot.footprint,
            { JobOutcome::End::cancelled, slot.job->title() + " cancelled before it started", true } });
        m_slots.erase(found);
    }
    notify();
}

void JobQueue::cancelAll()
{
    std::vector<Id> ids;
    for (const Entry& entry : entries())
        ids.push_back(entry.id);
    // Waiting ones first, so none of them starts as a running one ends.
    std::reverse(ids.begin(), ids.end());
    for (Id id : ids)
        cancel(id);
}

void JobQueue::jobEnded(Id id, const JobOutcome& outcome)
{
    {
        std::lock_guard lock(m_mutex);
        auto found
            = std::find_if(m_slots.begin(), m_slots.end(), [id](const auto& slot) { return slot->id == id; });
        if (found == m_slots.end())
            return; // the queue is closing and took the thread already
        m_ended.push_back({ id, (*found)->job->title(), (*found)->footprint, outcome });
        // This very thread cannot join itself; takeEnded() or the destructor does.
        m_endedThreads.push_back(std::move((*found)->thread));
        m_slots.erase(found);
        startNextLocked();
    }
    notify();
}

void JobQueue::notify() const
{
    if (m_onChange)
        m_onChange();
}

std::vector<JobQueue::Entry> JobQueue::entries() const
{
    std::lock_guard lock(m_mutex);
    std::vector<Entry> list;
    for (const auto& slot : m_slots)
        list.push_back({ slot->id, slot->job->title(), slot->job->description(),
            slot->thread ? State::running : State::waiting, slot->control->progress() });
    return list;
}

std::optional<JobQueue::State> JobQueue::state(Id id) const
{
    std::lock_guard lock(m_mutex);
    for (const auto& slot : m_slots) {
        if (slot->id == id)
            return slot->thread ? State::running : State::waiting;
    }
    return std::nullopt;
}

std::shared_ptr<JobControl> JobQueue::control(Id id) const
{
    std::lock_guard lock(m_mutex);
    for (const auto& slot : m_slots) {
        if (slot->id == id)
            return slot->control;
    }
    return nullptr;
}

std::vector<JobQueue::Ended> JobQueue::takeEnded()
{
    std::vector<std::unique_ptr<JobThread>> threads;
    std::vector<Ended> ended;
    {
        std::lock_guard lock(m_mutex);
        // Each ended thread has only its return left to do, so joining it is quick.
        threads = std::move(m_endedThreads);
        m_endedThreads.clear();
        ended = std::move(m_ended);
        m_ended.clear();
    }
    threads.clear();
    return ended;
}

bool JobQueue::isIdle() const
{
    std::lock_guard lock(m_mutex);
    return m_slots.empty();
}

} // namespace kiv
