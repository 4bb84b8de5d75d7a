#pragma once

#include "jobs/JobOutcome.h"

#include <atomic>
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
    // Cancels the job if it still runs and waits for its thread.
    ~JobThread();

    // Returns whether the job has ended (its end listener may still be running).
    bool hasEnded() const { return m_ended.load(); }

    // Runs `job` on the calling thread as the thread would: the outcome, never an exception.
    static JobOutcome runHere(Job& job, JobControl& control);

private:
    std::shared_ptr<JobControl> m_control;
    std::atomic<bool> m_ended { false };
    std::thread m_thread;
};

} // namespace kiv
