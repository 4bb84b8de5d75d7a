#include "jobs/JobThread.h"

#include "base/ErrorText.h"
#include "jobs/Job.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"

namespace kiv {

JobThread::JobThread(std::shared_ptr<Job> job, std::shared_ptr<JobControl> control, EndListener onEnd)
    : m_control(std::move(control))
{
    m_thread = std::thread([this, job = std::move(job), onEnd = std::move(onEnd)] {
        const JobOutcome outcome = runHere(*job, *m_control);
        m_ended = true;
        if (onEnd)
            onEnd(outcome);
    });
}

JobThread::~JobThread()
{
    m_control->cancel();
    m_thread.join();
}

JobOutcome JobThread::runHere(Job& job, JobControl& control)
{
    JobOutcome outcome;
    try {
        outcome = job.run(control);
    } catch (const JobCancelled&) {
        outcome = { JobOutcome::End::cancelled, job.title() + " cancelled", true };
    } catch (const std::exception& error) {
        outcome = { JobOutcome::End::failed, userMessage(error) };
    }
    control.finish();
    return outcome;
}

} // namespace kiv
