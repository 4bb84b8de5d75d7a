#include "files/SideCount.h"

#include "base/PathString.h"
#include "files/DirectoryChain.h"
#include "files/TreeCount.h"
#include "jobs/JobCancelled.h"

#include <chrono>
#include <system_error>

namespace kiv {

namespace {

// A little before the progress shows (after 0.3 s), so that its first look has the total.
constexpr auto beginAfter = std::chrono::milliseconds(200);

} // namespace

SideCount::SideCount(std::vector<std::string> paths, JobControl& control)
    : m_thread([this, paths = std::move(paths), &control] { count(paths, control); })
{
}

SideCount::~SideCount()
{
    stop();
}

void SideCount::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_stopped.notify_all();
    m_stopping.cancel();
    if (m_thread.joinable())
        m_thread.join();
}

void SideCount::count(const std::vector<std::string>& paths, JobControl& control)
{
    {
        std::unique_lock lock(m_mutex);
        if (m_stopped.wait_for(lock, beginAfter, [this] { return m_stop; }))
            return;
    }
    std::int64_t items = 0;
    try {
        for (const std::string& path : paths) {
            DirectoryChain chain(PathString::parentOrRoot(path));
            items += TreeCount::count(
                chain, PathString::lastComponent(path), &m_stopping, TreeCount::Weigh::itemsOnly)
                         .items;
        }
    } catch (const JobCancelled&) {
        return;
    } catch (const std::system_error&) {
        return; // a folder gone under the work: there is no whole count to give
    }
    control.addToTotals(items, 0);
}

} // namespace kiv
