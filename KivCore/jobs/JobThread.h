#pragma once

#include "jobs/JobOutcome.h"

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace kiv {

class Job;
class JobControl;

// Runs one job on a thread of its own, from construction on. Used by the queue for file jobs and
// directly for work that must not wait in the queue (listing a folder, say).
class JobThread
{
public:
    // Called on the job's thread once it has ended, with how it ended.
    using EndListener = std::function<void(const JobOutcome& outcome)>;

    // Starts `job` at once, reporting through `control`; `onEnd` may be empty.
    JobThread(std::shared_ptr<Job> job, std::shared_ptr<JobControl> control, EndListener onEnd);
    JobThread(const JobThread&) = delete;
    JobThread& operator=(const JobThread&) = delete;
    // Cancels the job if it still runs and waits for its thread, unless it was abandoned.
    ~JobThread();

    // Returns whether the job has ended (its end listener may still be running).
    bool hasEnded() const;
    // Waits until the job has ended or `patience` has passed; returns whether it has ended.
    bool waitFor(std::chrono::milliseconds patience) const;
    // Cancels the job and leaves its thread to end by itself, whenever the call it may be stuck
    // in returns (a dead network mount), or with the process. The thread owns the job, its
    // control and its end listener from then on; the listener must not reach what may be gone.
    void abandon();

    // Returns how many abandoned threads have not ended yet.
    static int abandonedRunning();

    // Runs `job` on the calling thread as the thread would: the outcome, never an exception.
    static JobOutcome runHere(Job& job, JobControl& control);

private:
    struct Ending;

    std::shared_ptr<JobControl> m_control;
    std::shared_ptr<Ending> m_ending;
    std::thread m_thread;
};

} // namespace kiv
