#include "panels/ListingRunner.h"

#include "jobs/JobControl.h"
#include "jobs/JobThread.h"
#include "jobscreen/WorkerLink.h"
#include "panel/ListingJob.h"

namespace kiv {

ListingRunner::ListingRunner(QObject* parent)
    : QObject(parent)
    , m_link(new WorkerLink(this))
{
    m_link->onPulse = [this] { tick(); };
}

ListingRunner::~ListingRunner()
{
    // A listing changes nothing: one that is still running is simply left to end by itself.
    for (auto& [id, running] : m_running)
        running.thread->abandon();
}

void ListingRunner::start(std::shared_ptr<ListingJob> job, EndListener onEnd)
{
    stop();
    const std::uint64_t id = ++m_lastId;
    auto control = std::make_shared<JobControl>();
    // The end comes back through the event loop: the rows change on the UI thread only.
    auto thread = std::make_unique<JobThread>(job, control,
        m_link->relay<const JobOutcome&>([this, id](const JobOutcome&) { ended(id); }));
    m_running.emplace(
        id, Running { std::move(job), std::move(control), std::move(thread), std::move(onEnd) });
    m_current = id;
    m_link->startPulse();
}

bool ListingRunner::stop()
{
    if (!isBusy())
        return false;
    // Its thread is left to notice the cancel on its own and is forgotten when it has ended.
    m_running.at(m_current).control->cancel();
    m_current = 0;
    m_link->stopPulse();
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
    m_link->stopPulse();
    if (ended.onEnd)
        ended.onEnd(*ended.job);
}

void ListingRunner::tick()
{
    if (isBusy() && onProgress)
        onProgress(m_running.at(m_current).control->progress().itemsDone);
}

} // namespace kiv
