#include "history/ImmediateJob.h"

#include "base/KivError.h"
#include "jobs/Job.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"

namespace kiv::ImmediateJob {

void run(Job&& job)
{
    JobControl control;
    const JobOutcome outcome = JobThread::runHere(job, control);
    if (outcome.end != JobOutcome::End::completed)
        throw KivError::operationFailed(outcome.summary);
}

} // namespace kiv::ImmediateJob
