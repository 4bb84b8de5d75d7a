#pragma once

#include "jobs/JobProgress.h"
#include "jobs/JobQuestion.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>

namespace kiv {

// What one job and its watcher share across threads: the cancellation flag, the progress record
// and the one question the job may be waiting on. The job calls the worker-side members from its
// thread; the watcher (the screen, a test) calls the others from its own. Every member is safe to
// call from any thread.
class JobControl
{
public:
    // Called on the job's thread each time a question starts waiting; the watcher then answers
    // from wherever it likes. Without one, questions answer themselves (see ask()).
    using QuestionListener = std::function<void()>;

    JobControl() = default;
    JobControl(const JobControl&) = delete;
    JobControl& operator=(const JobControl&) = delete;

    // Sets who hears of questions; set it before the job starts.
    void setQuestionListener(QuestionListener listener);

    // Asks the job to stop; a question it waits on is answered `cancel` at once, and a paused job
    // stops at once.
    void cancel();
    // Holds the job at its next step (throwIfCancelled) until resume() or cancel(): nothing more
    // is written while the user is asked whether to cancel it.
    void pause();
    // Lets a paused job go on.
    void resume();
    // Returns whether cancel() was called.
    bool isCancelled() const { return m_cancelled.load(std::memory_order_relaxed); }
    // Returns a copy of the progress record.
    JobProgress progress() const;
    // Returns the question the job waits on, if any.
    std::optional<JobQuestion> pendingQuestion() const;
    // Answers the waiting question; does nothing when none waits.
    void answer(JobAnswer answer);
    // Answers the waiting question for text with `text` (JobAnswer::reply).
    void answerText(std::string text);

    // Worker side. Waits while the job is paused; throws JobCancelled once cancel() was called.
    void throwIfCancelled() const;
    // Adds to the totals while counting.
    void addToTotals(std::int64_t items, std::int64_t bytes);
    // Ends counting: the totals are final and work begins.
    void startWorking();
    // Names the item now worked on, `bytes` long.
    void beginItem(const std::string& name, std::int64_t bytes);
    // Counts `bytes` more of the current item as done.
    void addBytes(std::int64_t bytes);
    // Counts `items` more as done, with whatever of their bytes addBytes() did not count.
    void finishItems(std::int64_t items, std::int64_t bytes);
    // Marks the job finished.
    void finish();
    // Waits until the watcher answers `question` or the job is cancelled (then `cancel`). With no
    // listener it answers at once: `skip` for a conflict (nothing is replaced unasked) and
    // `cancel` for an item error.
    JobAnswer ask(JobQuestion question);
    // Asks a question answered with text (a password): the text, or nothing when the watcher
    // cancelled it, the job was cancelled or nobody listens. The text is kept nowhere else.
    std::optional<std::string> askText(JobQuestion question);

    // Returns the control of the job running on the calling thread (JobThread::runHere), or null:
    // a stream a door opened for that job stops waiting on a silent place once it is cancelled.
    static const JobControl* ofThisThread();
    // Makes `control` the one ofThisThread() returns on this thread; returns the one before.
    static const JobControl* setOfThisThread(const JobControl* control);

private:
    std::atomic<bool> m_cancelled { false };
    std::atomic<bool> m_paused { false };
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_answered; // also wakes a paused job
    JobProgress m_progress;
    std::optional<JobQuestion> m_question;
    std::optional<JobAnswer> m_answer;
    std::string m_reply;
    QuestionListener m_listener;
};

} // namespace kiv
