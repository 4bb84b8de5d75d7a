#include "base/HandoverMutex.h"

namespace kiv {

void HandoverMutex::lock()
{
    ++m_waiting;
    m_mutex.lock();
    --m_waiting;
}

void HandoverMutex::unlock()
{
    m_mutex.unlock();
    m_givenBack.notify_all();
}

void HandoverMutex::handOver()
{
    if (m_waiting.load() == 0)
        return;
    std::unique_lock held(m_mutex, std::adopt_lock);
    // A waiter counts itself out only once it holds the mutex, so none is passed over.
    m_givenBack.wait(held, [this] { return m_waiting.load() == 0; });
    held.release();
}

} // namespace kiv
