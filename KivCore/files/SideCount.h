#pragma once

#include "jobs/JobControl.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kiv {

// Counts the items of the trees a removal works on beside the work, on a thread of its own, so
// that the work need not wait for the count: the job's progress shows no total until the count
// lands, then the whole total at once. Items, not bytes: removing a file costs about the same
// whatever its size. Nobody sees a total before the progress shows, after about 0.3 s, so the count
// begins only a little before that: work done sooner costs nothing more. The count is of the trees as the thread
// finds them; what the work removed first is not in it.
class SideCount
{
public:
    // Starts counting the items at `paths` into `control`'s totals.
    SideCount(std::vector<std::string> paths, JobControl& control);
    // Stops the count where it is, as stop() does.
    ~SideCount();
    SideCount(const SideCount&) = delete;
    SideCount& operator=(const SideCount&) = delete;

    // Stops the count where it is and waits for its thread.
    void stop();

private:
    void count(const std::vector<std::string>& paths, JobControl& control);

    JobControl m_stopping; // cancelled to stop the count; its own totals are never shown
    std::mutex m_mutex;
    std::condition_variable m_stopped; // wakes the thread while it waits to begin
    bool m_stop = false; // under m_mutex
    std::thread m_thread;
};

} // namespace kiv
