#pragma once

namespace kiv {
class Job;
}

// Running a job on the calling thread when its result is needed at once, with nobody to ask:
// a taken name is skipped, an item error ends it.
namespace kiv::ImmediateJob {

// Runs `job` to its end. Throws KivError::operationFailed with the job's own summary unless it
// did everything.
void run(Job&& job);

} // namespace kiv::ImmediateJob
