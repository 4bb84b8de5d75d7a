#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace kiv {

class JobControl;
class JobThread;
class ListingJob;
class WorkerLink;

// Runs one panel's listings on worker threads, one that counts at a time: a new listing
// supersedes the one under way, which is cancelled and whose result is dropped, never shown. The
// end of the listing that counts is reported on the UI thread. The UI thread never waits for a
// listing's worker: one stuck on a dead mount is left to end by itself, also when the runner goes.
class ListingRunner : public QObject
{
    Q_OBJECT
public:
    // Called on the UI thread with the listing once it has run to its end, completed or refused.
    using EndListener = std::function<void(ListingJob& listed)>;

    // Runs nothing until start().
    explicit ListingRunner(QObject* parent = nullptr);
    // Cancels every listing still running and abandons their threads (JobThread::abandon).
    ~ListingRunner() override;

    // Starts `job` on a worker of its own, superseding the listing under way; `onEnd` hears of
    // its end, unless it is superseded or stopped first.
    void start(std::shared_ptr<ListingJob> job, EndListener onEnd);
    // Cancels the listing under way, whose end is then never reported; returns whether one was.
    bool stop();
    // Returns whether a listing that counts is under way.
    bool isBusy() const { return m_current != 0; }
    // Returns the listing that counts, or null when none is under way.
    const ListingJob* underWay() const;

    // Called about 0.3 s into a listing, then about ten times a second until it ends, with the
    // number of items read so far; may be unset.
    std::function<void(std::int64_t itemsRead)> onProgress;

private:
    struct Running
    {
        std::shared_ptr<ListingJob> job;
        std::shared_ptr<JobControl> control;
        std::unique_ptr<JobThread> thread;
        EndListener onEnd;
    };

    void ended(std::uint64_t id);
    void tick();

    // Every listing whose thread has not ended yet, superseded ones included, by id.
    std::map<std::uint64_t, Running> m_running;
    std::uint64_t m_current = 0; // the listing that counts, 0 for none
    std::uint64_t m_lastId = 0;
    WorkerLink* m_link;
};

} // namespace kiv
