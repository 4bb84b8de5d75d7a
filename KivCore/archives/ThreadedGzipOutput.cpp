#include "archives/ThreadedGzipOutput.h"

#include "base/KivError.h"

#include <cerrno>
#include <system_error>
#include <utility>
#include <unistd.h>
#include <zlib.h>

namespace kiv {

namespace {

constexpr std::size_t blockSize = 1 << 20;
// Two blocks waiting are enough to keep the compressor busy without holding much memory.
constexpr std::size_t blocksQueued = 2;
constexpr int gzipWindow = 15 + 16; // 32 KiB window, gzip header and trailer
constexpr int memoryLevel = 8;
constexpr int level = 6; // gzip's own default

} // namespace

ThreadedGzipOutput::ThreadedGzipOutput(int fd)
    : m_fd(fd)
{
    m_gathering.reserve(blockSize);
    m_thread = std::thread([this] { run(); });
}

ThreadedGzipOutput::~ThreadedGzipOutput()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopped = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void ThreadedGzipOutput::open(archive* writing)
{
    if (archive_write_open(writing, this, nullptr, writeCallback, closeCallback) != ARCHIVE_OK)
        throw KivError::operationFailed(
            archive_error_string(writing) ? archive_error_string(writing) : "gzip");
}

la_ssize_t ThreadedGzipOutput::writeCallback(
    archive* writing, void* self, const void* bytes, std::size_t size)
{
    try {
        static_cast<ThreadedGzipOutput*>(self)->write(static_cast<const char*>(bytes), size);
        return static_cast<la_ssize_t>(size);
    } catch (const std::exception& error) {
        archive_set_error(writing, EIO, "%s", error.what());
        return -1;
    }
}

int ThreadedGzipOutput::closeCallback(archive* writing, void* self)
{
    try {
        static_cast<ThreadedGzipOutput*>(self)->finish();
        return ARCHIVE_OK;
    } catch (const std::exception& error) {
        archive_set_error(writing, EIO, "%s", error.what());
        return ARCHIVE_FATAL;
    }
}

void ThreadedGzipOutput::write(const char* bytes, std::size_t size)
{
    m_gathering.insert(m_gathering.end(), bytes, bytes + size);
    if (m_gathering.size() < blockSize)
        return;
    std::unique_lock lock(m_mutex);
    handOver(lock);
}

void ThreadedGzipOutput::finish()
{
    std::unique_lock lock(m_mutex);
    handOver(lock);
    m_ending = true;
    m_changed.notify_all();
    m_changed.wait(lock, [this] { return m_stopped; });
    if (!m_failure.empty())
        throw KivError::operationFailed(m_failure);
}

void ThreadedGzipOutput::handOver(std::unique_lock<std::mutex>& lock)
{
    m_changed.wait(lock, [this] { return m_queue.size() < blocksQueued || m_stopped; });
    if (!m_failure.empty())
        throw KivError::operationFailed(m_failure);
    if (m_stopped)
        throw KivError::operationFailed("the compression stopped");
    m_queue.push_back(std::exchange(m_gathering, {}));
    m_gathering.reserve(blockSize);
    m_changed.notify_all();
}

void ThreadedGzipOutput::run()
{
    z_stream stream {};
    if (deflateInit2(&stream, level, Z_DEFLATED, gzipWindow, memoryLevel, Z_DEFAULT_STRATEGY) != Z_OK) {
        std::lock_guard lock(m_mutex);
        m_failure = "the compressor cannot start";
        m_stopped = true;
        m_changed.notify_all();
        return;
    }
    std::vector<char> out(blockSize / 2);
    for (;;) {
        std::vector<char> block;
        bool last = false;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return !m_queue.empty() || m_ending || m_stopped; });
            if (m_stopped)
                break;
            if (!m_queue.empty()) {
                block = std::move(m_queue.front());
                m_queue.pop_front();
            }
            last = m_queue.empty() && m_ending;
            m_changed.notify_all();
        }
        try {
            stream.next_in = reinterpret_cast<Bytef*>(block.data());
            stream.avail_in = static_cast<uInt>(block.size());
            const int flush = last ? Z_FINISH : Z_NO_FLUSH;
            int status = Z_OK;
            do {
                stream.next_out = reinterpret_cast<Bytef*>(out.data());
                stream.avail_out = static_cast<uInt>(out.size());
                status = deflate(&stream, flush);
                writeOut(out.data(), out.size() - stream.avail_out);
            } while (stream.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
        } catch (const std::exception& error) {
            std::lock_guard lock(m_mutex);
            m_failure = error.what();
            last = true;
        }
        if (last)
            break;
    }
    deflateEnd(&stream);
    std::lock_guard lock(m_mutex);
    m_stopped = true;
    m_changed.notify_all();
}

void ThreadedGzipOutput::writeOut(const char* bytes, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(m_fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            throw std::system_error(errno, std::generic_category());
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
}

} // namespace kiv
