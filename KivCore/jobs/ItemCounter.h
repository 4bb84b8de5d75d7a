#pragma once

#include <chrono>

namespace kiv {

class JobControl;

// Counts the items a listing has read into its job's progress, a batch at a time so that a huge
// folder pays for no lock per item, and ends the listing once the job is cancelled. Used on one
// thread; several counters may feed one control.
class ItemCounter
{
public:
    // Counts into `control`; null counts nothing and never cancels (a listing outside any job).
    explicit ItemCounter(JobControl* control);
    ItemCounter(const ItemCounter&) = delete;
    ItemCounter& operator=(const ItemCounter&) = delete;

    // Counts one more item. Throws JobCancelled, at a batch's end, once the job is cancelled.
    void count()
    {
        if (m_control && ++m_pending >= m_batch)
            report();
    }

    // Test seam: makes each counted item take `perItem` longer (and counts them one by one), so
    // that tests can watch a slow listing; zero, the default, for full speed.
    static void setDelayForTests(std::chrono::microseconds perItem);

private:
    void report();

    JobControl* m_control;
    int m_pending = 0;
    int m_batch;
    std::chrono::microseconds m_delay;
};

} // namespace kiv
