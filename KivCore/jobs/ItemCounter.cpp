#include "jobs/ItemCounter.h"

#include "jobs/JobControl.h"

#include <atomic>
#include <thread>

namespace kiv {

namespace {

// Large enough that the lock is noise, small enough that a cancel is seen within a millisecond.
constexpr int batchSize = 512;

std::atomic<std::chrono::microseconds::rep> delayForTests { 0 };

} // namespace

ItemCounter::ItemCounter(JobControl* control)
    : m_control(control)
    , m_delay(delayForTests.load(std::memory_order_relaxed))
{
    m_batch = m_delay.count() > 0 ? 1 : batchSize;
}

void ItemCounter::setDelayForTests(std::chrono::microseconds perItem)
{
    delayForTests.store(perItem.count(), std::memory_order_relaxed);
}

void ItemCounter::report()
{
    m_control->finishItems(m_pending, 0);
    m_pending = 0;
    m_control->throwIfCancelled();
    if (m_delay.count() > 0)
        std::this_thread::sleep_for(m_delay);
}

} // namespace kiv
