#pragma once

#include <archive.h>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kiv {

// The output of a packing that compresses with gzip on a thread of its own, so reading the files
// and compressing them run side by side: one thread alone cannot keep up with a separate
// compressor process. Bytes given to it are gathered into large blocks and handed over through a
// short queue; the thread deflates them and writes them to the file.
class ThreadedGzipOutput
{
public:
    // Starts the compressing thread, writing to `fd` (which stays the caller's).
    explicit ThreadedGzipOutput(int fd);
    // Stops the thread; what was not finished is abandoned.
    ~ThreadedGzipOutput();
    ThreadedGzipOutput(const ThreadedGzipOutput&) = delete;
    ThreadedGzipOutput& operator=(const ThreadedGzipOutput&) = delete;

    // Makes `writing` write through this output instead of its own filters. REQUIRES: no filter
    // added to `writing`; this output outlives it.
    void open(archive* writing);

private:
    static la_ssize_t writeCallback(archive* writing, void* self, const void* bytes, std::size_t size);
    static int closeCallback(archive* writing, void* self);
    // Queues `size` bytes; throws what stopped the thread.
    void write(const char* bytes, std::size_t size);
    // Hands over the last block, ends the gzip stream and waits for the thread; throws on failure.
    void finish();
    void handOver(std::unique_lock<std::mutex>& lock);
    void run();
    void compress(const std::vector<char>& block, int flush);
    void writeOut(const char* bytes, std::size_t size);

    int m_fd;
    std::vector<char> m_gathering;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<char>> m_queue;
    bool m_ending = false;
    bool m_stopped = false;
    std::string m_failure;
    std::thread m_thread;
};

} // namespace kiv
