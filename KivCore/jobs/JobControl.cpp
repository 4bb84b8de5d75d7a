#include "jobs/JobControl.h"

#include "jobs/JobCancelled.h"

#include <utility>

namespace kiv {

void JobControl::setQuestionListener(QuestionListener listener)
{
    std::lock_guard lock(m_mutex);
    m_listener = std::move(listener);
}

void JobControl::cancel()
{
    // Under the lock, so a job just starting to wait cannot miss it.
    std::lock_guard lock(m_mutex);
    m_cancelled.store(true, std::memory_order_relaxed);
    m_answered.notify_all();
}

void JobControl::pause()
{
    m_paused.store(true, std::memory_order_relaxed);
}

void JobControl::resume()
{
    std::lock_guard lock(m_mutex);
    m_paused.store(false, std::memory_order_relaxed);
    m_answered.notify_all();
}

JobProgress JobControl::progress() const
{
    std::lock_guard lock(m_mutex);
    return m_progress;
}

std::optional<JobQuestion> JobControl::pendingQuestion() const
{
    std::lock_guard lock(m_mutex);
    return m_answer ? std::nullopt : m_question;
}

void JobControl::answer(JobAnswer answer)
{
    std::lock_guard lock(m_mutex);
    if (!m_question || m_answer)
        return;
    m_answer = answer;
    m_answered.notify_all();
}

void JobControl::answerText(std::string text)
{
    std::lock_guard lock(m_mutex);
    if (!m_question || m_answer)
        return;
    m_reply = std::move(text);
    m_answer = JobAnswer::reply;
    m_answered.notify_all();
}

namespace {

thread_local const JobControl* runningHere = nullptr;

} // namespace

const JobControl* JobControl::ofThisThread()
{
    return runningHere;
}

const JobControl* JobControl::setOfThisThread(const JobControl* control)
{
    return std::exchange(runningHere, control);
}

void JobControl::throwIfCancelled() const
{
    // One relaxed load on the way through: this runs between every two chunks of work.
    if (m_paused.load(std::memory_order_relaxed)) {
        std::unique_lock lock(m_mutex);
        m_answered.wait(lock, [this] { return !m_paused.load(std::memory_order_relaxed) || isCancelled(); });
    }
    if (isCancelled())
        throw JobCancelled();
}

void JobControl::addToTotals(std::int64_t items, std::int64_t bytes)
{
    std::lock_guard lock(m_mutex);
    m_progress.itemsTotal += items;
    m_progress.bytesTotal += bytes;
}

void JobControl::startWorking()
{
    std::lock_guard lock(m_mutex);
    m_progress.phase = JobProgress::Phase::working;
}

void JobControl::beginItem(const std::string& name, std::int64_t bytes)
{
    std::lock_guard lock(m_mutex);
    m_progress.currentName = name;
    m_progress.currentBytesTotal = bytes;
    m_progress.currentBytesDone = 0;
}

void JobControl::addBytes(std::int64_t bytes)
{
    std::lock_guard lock(m_mutex);
    m_progress.currentBytesDone += bytes;
    m_progress.bytesDone += bytes;
}

void JobControl::finishItems(std::int64_t items, std::int64_t bytes)
{
    std::lock_guard lock(m_mutex);
    m_progress.itemsDone += items;
    m_progress.bytesDone += bytes;
}

void JobControl::finish()
{
    std::lock_guard lock(m_mutex);
    m_progress.phase = JobProgress::Phase::finished;
}

JobAnswer JobControl::ask(JobQuestion question)
{
    std::unique_lock lock(m_mutex);
    if (isCancelled())
        return JobAnswer::cancel;
    // Unheard, nothing is replaced and no key is trusted.
    if (!m_listener)
        return question.kind == JobQuestion::Kind::conflict ? JobAnswer::skip : JobAnswer::cancel;
    m_question = std::move(question);
    m_answer.reset();
    const QuestionListener listener = m_listener;
    lock.unlock();
    listener();
    lock.lock();
    m_answered.wait(lock, [this] { return m_answer.has_value() || isCancelled(); });
    const JobAnswer answer = isCancelled() ? JobAnswer::cancel : *m_answer;
    m_question.reset();
    m_answer.reset();
    return answer;
}

std::optional<std::string> JobControl::askText(JobQuestion question)
{
    if (ask(std::move(question)) != JobAnswer::reply)
        return std::nullopt;
    std::lock_guard lock(m_mutex);
    return std::exchange(m_reply, {});
}

} // namespace kiv
