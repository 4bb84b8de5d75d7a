#pragma once

#include "jobs/JobFootprint.h"
#include "jobs/JobOutcome.h"
#include "jobs/JobProgress.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kiv {

class Job;
class JobControl;
class JobThread;

// The file jobs of the program, run one after another: a job added while another runs waits its
// turn, unless the user starts it at once, which is allowed only when it touches nothing a
// running job reads or changes. Safe to use from any thread; the listener hears of every start
// and end on the thread where it happened.
class JobQueue
{
public:
    using Id = std::uint64_t;
    enum class State
    {
        waiting,
        running,
    };
    // One job still waiting or running, as a list shows it.
    struct Entry
    {
        Id id;
        std::string title;
        std::string description;
        State state;
        JobProgress progress;
    };
    // One job that has ended (or was cancelled before it started).
    struct Ended
    {
        Id id;
        std::string title;
        JobFootprint footprint;
        JobOutcome outcome;
    };

    // `onChange` (may be empty) is called after a job started or ended, on any thread, with no
    // lock of the queue held.
    explicit JobQueue(std::function<void()> onChange = {});
    JobQueue(const JobQueue&) = delete;
    JobQueue& operator=(const JobQueue&) = delete;
    // Closes the queue (see close()), waiting as long as the running jobs take.
    ~JobQueue();

    // Cancels every job, starts none from now on, waits up to `patience` for the running ones to
    // end and abandons those that have not (JobThread::abandon): a job stuck in a call that does
    // not return, on a dead network mount, keeps its thread but no longer holds up the program.
    // Nothing is heard of the jobs from then on.
    void close(std::chrono::milliseconds patience);

    // Queues `job`, reporting through `control`; it starts at once when no job runs.
    Id add(std::shared_ptr<Job> job, std::shared_ptr<JobControl> control);
    // Starts the waiting job `id` now, beside those running; returns false, changing nothing, when
    // it is not waiting or would touch what a running job touches.
    bool startNow(Id id);
    // Cancels the job `id`: a running one is told to stop, a waiting one ends without starting.
    void cancel(Id id);
    // Cancels every job.
    void cancelAll();

    // Returns the jobs waiting or running, in the order they were added.
    std::vector<Entry> entries() const;
    // Returns the state of job `id`, or nothing once it has ended.
    std::optional<State> state(Id id) const;
    // Returns the control of job `id` while it waits or runs, else null.
    std::shared_ptr<JobControl> control(Id id) const;
    // Returns the jobs that ended since the last call, oldest first, and forgets them.
    std::vector<Ended> takeEnded();
    // Returns whether no job waits or runs.
    bool isIdle() const;

private:
    struct Slot;
    struct Gate;

    void startLocked(Slot& slot);
    void startNextLocked();
    void jobEnded(Id id, const JobOutcome& outcome);
    void notify() const;

    std::function<void()> m_onChange;
    std::shared_ptr<Gate> m_gate; // how the threads reach the queue, closed by close()
    mutable std::mutex m_mutex;
    std::list<std::unique_ptr<Slot>> m_slots; // waiting and running jobs
    std::vector<std::unique_ptr<JobThread>> m_endedThreads; // joined outside the lock
    std::vector<Ended> m_ended;
    Id m_nextId = 1;
    bool m_closing = false;
};

} // namespace kiv
