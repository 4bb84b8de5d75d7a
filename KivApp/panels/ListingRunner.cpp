#include "panels/ListingRunner.h"

#include "jobs/JobControl.h"
#include "jobs/JobThread.h"
#include "panel/ListingJob.h"

namespace kiv {

namespace {

// A listing that ends sooner shows nothing of itself: the rows simply change.
constexpr qint64 quietMilliseconds = 300;
constexpr int progressInterval = 100;

} // namespace

ListingRunner::ListingRunner(QObject* parent)
    : QObject(parent)
{
    m_progressTimer.setInterval(progressInterval);
    connect(&m_progressTimer, &QTimer::timeout, this, &ListingRunner::tick);
}

ListingRunner::~ListingRunner()
{
    for (auto& [id, running] : m_running)
        running.control->cancel();
    m_running.clear();
}

void ListingRunner::start(std::shared_ptr<ListingJob> job, EndListener onEnd)
{
    stop();
    const std::uint64_t id = ++m_lastId;
    auto control = std::make_shared<JobControl>();
    // The end comes back through the event loop: the rows change on the UI thread only.
    auto thread = std::make_unique<JobThread>(job, control, [this, id](const JobOutcome&) {
        QMetaObject::invokeMethod(
            this, [this, id] { ended(id); }, Qt::QueuedConnection);
    });
    m_running.emplace(
        id, Running { std::move(job), std::move(control), std::move(thread), std::move(onEnd) });
    m_current = id;
    m_clock.start();
    m_progressTimer.start();
}

bool ListingRunner::stop()
{
    if (!isBusy())
        return false;
    // Its thread is left to notice the cancel on its own and is forgotten when it has ended.
    m_running.at(m_current).control->cancel();
    m_current = 0;
    m_progressTimer.stop();
    return true;
}

const ListingJob* ListingRunner::underWay() const
{
    return isBusy() ? m_running.at(m_current).job.get() : nullptr;
}

void ListingRunner::ended(std::uint64_t id)
{
    auto found = m_running.find(id);
    if (found == m_running.end())
        return;
    Running ended = std::move(found->second);
    m_running.erase(found);
    ended.thread.reset(); // its thread has ended: this waits for no more than its last return
    if (id != m_current)
        return;
    m_current = 0;
    m_progressTimer.stop();
    if (ended.onEnd)
        ended.onEnd(*ended.job);
}

void ListingRunner::tick()
{
    if (isBusy() && m_clock.elapsed() >= quietMilliseconds && onProgress)
        onProgress(m_running.at(m_current).control->progress().itemsDone);
}

} // namespace kiv
