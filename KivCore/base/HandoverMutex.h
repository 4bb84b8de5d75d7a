#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace kiv {

// A mutex for one busy thread that holds it in many short turns, and other threads that need it
// now and then: the busy thread hands it over between its turns to whoever waits, so they wait
// for one turn at most, where a plain mutex taken again at once can keep them waiting for as
// long as the busy thread works.
class HandoverMutex
{
public:
    // Takes the mutex, waiting while another thread holds it.
    void lock();
    // Gives the mutex back. REQUIRES: the calling thread holds it.
    void unlock();
    // Lets the threads that wait in lock() have the mutex first, and takes it back once they have
    // given it back; returns at once when none waits. REQUIRES: the calling thread holds it.
    void handOver();

private:
    std::mutex m_mutex;
    std::condition_variable m_givenBack;
    std::atomic<int> m_waiting { 0 };
};

} // namespace kiv
