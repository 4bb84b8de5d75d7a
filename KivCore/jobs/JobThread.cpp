#include "jobs/JobThread.h"

#include "base/ErrorText.h"
#include "jobs/Job.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace kiv {

namespace {

std::atomic<int> abandonedThreads { 0 };

} // namespace

// What the thread shares with whoever waits for it; the thread holds it too, so an abandoned
// thread outlives the JobThread safely.
struct JobThread::Ending
{
    mutable std::mutex mutex;
    mutable std::condition_variable ended;
    bool hasEnded = false;
    bool abandoned = false;
};

JobThread::JobThread(std::shared_ptr<Job> job, std::shared_ptr<JobControl> control, EndListener onEnd)
    : m_control(std::move(control))
    , m_ending(std::make_shared<Ending>())
{
    m_thread = std::thread(
        [ending = m_ending, control = m_control, job = std::move(job), onEnd = std::move(onEnd)] {
            const JobOutcome outcome = runHere(*job, *control);
            bool abandoned = false;
            {
                std::lock_guard lock(ending->mutex);
                ending->hasEnded = true;
                abandoned = ending->abandoned;
            }
            ending->ended.notify_all();
            if (onEnd)
                onEnd(outcome);
            if (abandoned)
                --abandonedThreads;
        });
}

JobThread::~JobThread()
{
    if (!m_thread.joinable())
        return;
    m_control->cancel();
    m_thread.join();
}

bool JobThread::hasEnded() const
{
    std::lock_guard lock(m_ending->mutex);
    return m_ending->hasEnded;
}

bool JobThread::waitFor(std::chrono::milliseconds patience) const
{
    std::unique_lock lock(m_ending->mutex);
    return m_ending->ended.wait_for(lock, patience, [&] { return m_ending->hasEnded; });
}

void JobThread::abandon()
{
    if (!m_thread.joinable())
        return;
    m_control->cancel();
    {
        std::lock_guard lock(m_ending->mutex);
        if (!m_ending->hasEnded) {
            m_ending->abandoned = true;
            ++abandonedThreads;
        }
    }
    m_thread.detach();
}

int JobThread::abandonedRunning()
{
    return abandonedThreads.load();
}

JobOutcome JobThread::runHere(Job& job, JobControl& control)
{
    const JobControl* outer = JobControl::setOfThisThread(&control);
    JobOutcome outcome;
    try {
        outcome = job.run(control);
    } catch (const JobCancelled&) {
        outcome = { JobOutcome::End::cancelled, job.title() + " cancelled", true };
    } catch (const std::exception& error) {
        outcome = { JobOutcome::End::failed, userMessage(error) };
    }
    JobControl::setOfThisThread(outer);
    control.finish();
    return outcome;
}

} // namespace kiv
