#pragma once

#include "jobs/JobQueue.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

class QWidget;

namespace kiv {

class Job;
struct JobQuestion;
class JobProgressDialog;
class WorkerLink;

// The program's side of the job queue: starts file jobs, shows the progress dialog of a job that
// runs longer than about 0.3 s (until the user sends it to the background), puts each question a
// job asks to the user and hands back the answer, and reports every job that ends. A job that ends
// while one of its questions is open closes that question. Lives on the UI thread; whatever the
// workers report reaches it queued.
class JobRunner : public QObject
{
    Q_OBJECT
public:
    // How long the runner, when it goes, waits for jobs that do not end when cancelled.
    static constexpr std::chrono::milliseconds patienceAtQuit { 1000 };

    // Shows its dialogs over `dialogParent`'s window.
    explicit JobRunner(QWidget& dialogParent, QObject* parent = nullptr);
    // Cancels every job, waits up to patienceAtQuit for the running ones to end and leaves any
    // still stuck to end by themselves (JobQueue::close).
    ~JobRunner() override;

    // Called on the UI thread when one job has ended, after onJobEnded.
    using EndListener = std::function<void(const JobOutcome& outcome)>;

    // Queues `job`: it runs once no other job runs (or at once when none does). `onEnd` may be
    // empty.
    JobQueue::Id start(std::shared_ptr<Job> job, EndListener onEnd = {});
    // Starts `job` at once, beside whatever runs: for a job that only reads (a file to show, the
    // user's menu), which must not wait behind a long copy. `onEnd` may be empty.
    JobQueue::Id startBeside(std::shared_ptr<Job> job, EndListener onEnd = {});
    // Starts `job`, which only reads, beside whatever runs and hands it to `then` once it has
    // completed (a failure or a cancel is told as for any job, and `then` is not called).
    template <typename Reading> void readBeside(std::shared_ptr<Reading> job, std::function<void(Reading&)> then)
    {
        startBeside(job, [job, then = std::move(then)](const JobOutcome& outcome) {
            if (outcome.end == JobOutcome::End::completed)
                then(*job);
        });
    }
    // Returns the queue, for the jobs list.
    JobQueue& queue() { return *m_queue; }
    // Shows the progress dialog of the running job `id` again (a job sent to the background).
    void bringToFront(JobQueue::Id id);
    // Returns whether no job waits or runs.
    bool isIdle() const { return m_queue->isIdle() && m_watches.empty(); }
    // With jobs running, asks whether to cancel them and quit, and cancels them on yes (their
    // ends are then not reported); returns whether quitting may go on (at once when no job runs).
    bool confirmQuit();
    // Returns the menu bar's indicator: "Copy 45%", "Copy 45% +2", or "" when no job runs.
    QString indicator() const;

    // Called on the UI thread for each job that has ended, after its dialog closed; `unwatched`
    // when the user had sent it to the background.
    std::function<void(const JobQueue::Ended& ended, bool unwatched)> onJobEnded;
    // Called on the UI thread whenever what indicator() says may have changed.
    std::function<void()> onActivity;

private:
    struct Watch;

    void takeEnded();
    void startClocks();
    void tick();
    void askQuestion(std::weak_ptr<JobControl> control);
    // Asks for the name or the secret a job needs (a user name, a password that is never shown).
    void askSecret(JobControl& control, const std::string& title, const JobQuestion& question);

    QWidget& m_dialogParent;
    std::map<JobQueue::Id, std::unique_ptr<Watch>> m_watches;
    WorkerLink* m_link;
    std::unique_ptr<JobQueue> m_queue;
    bool m_quitting = false;
};

} // namespace kiv
