#include "jobs/JobQueue.h"
#include "GateJob.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

using namespace kiv;
using kiv::test::GateJob;
using namespace std::chrono_literals;

namespace {

template <typename Condition> bool eventually(Condition condition)
{
    for (auto end = std::chrono::steady_clock::now() + 5s; std::chrono::steady_clock::now() < end;) {
        if (condition())
            return true;
        std::this_thread::sleep_for(1ms);
    }
    return false;
}

} // namespace

TEST(JobControlTest, AQuestionWaitsForItsAnswerAndCancelEndsTheWait)
{
    JobQuestion conflict;
    conflict.kind = JobQuestion::Kind::conflict;
    const JobQuestion failure;
    // Answered from another thread, as the screen does.
    auto control = std::make_shared<JobControl>();
    control->setQuestionListener([] {});
    auto asked = std::async(std::launch::async, [&] { return control->ask(conflict); });
    ASSERT_TRUE(eventually([&] { return control->pendingQuestion().has_value(); }));
    control->answer(JobAnswer::keepBoth);
    EXPECT_EQ(asked.get(), JobAnswer::keepBoth);
    EXPECT_FALSE(control->pendingQuestion());

    // Cancel while it waits: the wait ends as Cancel, and later questions do not wait at all.
    asked = std::async(std::launch::async, [&] { return control->ask(failure); });
    ASSERT_TRUE(eventually([&] { return control->pendingQuestion().has_value(); }));
    control->cancel();
    EXPECT_EQ(asked.wait_for(1s), std::future_status::ready);
    EXPECT_EQ(asked.get(), JobAnswer::cancel);
    EXPECT_EQ(control->ask(conflict), JobAnswer::cancel);
    EXPECT_THROW(control->throwIfCancelled(), JobCancelled);

    // Nobody listening: a conflict never replaces anything, an error stops the job.
    JobControl unwatched;
    EXPECT_EQ(unwatched.ask(conflict), JobAnswer::skip);
    EXPECT_EQ(unwatched.ask(failure), JobAnswer::cancel);
}

TEST(JobQueueTest, JobsRunOneAfterAnotherUnlessStartedNowWithoutClash)
{
    std::atomic<int> changes { 0 };
    JobQueue queue([&] { ++changes; });
    auto first = std::make_shared<GateJob>("/src", "/dst/a");
    auto second = std::make_shared<GateJob>("/src", "/dst/b");
    auto clashing = std::make_shared<GateJob>("/dst/a/inner", "/elsewhere");
    const auto firstId = queue.add(first, std::make_shared<JobControl>());
    const auto secondId = queue.add(second, std::make_shared<JobControl>());
    const auto clashingId = queue.add(clashing, std::make_shared<JobControl>());
    first->started.get_future().wait();
    EXPECT_EQ(queue.state(secondId), JobQueue::State::waiting) << "a second job waits for the first";
    EXPECT_EQ(queue.entries().size(), 3u);

    // Reading what a running job writes may not start beside it; a separate target may.
    EXPECT_FALSE(queue.startNow(clashingId));
    EXPECT_TRUE(queue.startNow(secondId));
    EXPECT_EQ(second->started.get_future().wait_for(5s), std::future_status::ready);

    // A waiting job cancelled ends without starting; the others end in turn.
    queue.cancel(clashingId);
    first->released = true;
    second->released = true;
    ASSERT_TRUE(eventually([&] { return queue.isIdle(); }));
    std::vector<std::pair<JobQueue::Id, JobOutcome::End>> ended;
    for (const auto& end : queue.takeEnded())
        ended.emplace_back(end.id, end.outcome.end);
    std::sort(ended.begin(), ended.end());
    EXPECT_EQ(ended,
        (std::vector<std::pair<JobQueue::Id, JobOutcome::End>> { { firstId, JobOutcome::End::completed },
            { secondId, JobOutcome::End::completed }, { clashingId, JobOutcome::End::cancelled } }));
    EXPECT_GE(changes.load(), 5) << "three added, two started, three ended: the screen hears of each";
    EXPECT_TRUE(queue.takeEnded().empty());
}

TEST(JobQueueTest, CancellingARunningJobStartsTheNextAndClosingCancelsAll)
{
    auto running = std::make_shared<GateJob>("/a", "/b");
    auto next = std::make_shared<GateJob>("/a", "/c");
    auto last = std::make_shared<GateJob>("/a", "/d");
    {
        JobQueue queue;
        const auto runningId = queue.add(running, std::make_shared<JobControl>());
        queue.add(next, std::make_shared<JobControl>());
        queue.add(last, std::make_shared<JobControl>());
        running->started.get_future().wait();
        queue.cancel(runningId);
        EXPECT_EQ(next->started.get_future().wait_for(5s), std::future_status::ready);
        // Leaving the scope must end the running job and never start the last one.
    }
    EXPECT_EQ(last->started.get_future().wait_for(0s), std::future_status::timeout);

    // A job run outside any queue reports its outcome, an exception included.
    JobControl control;
    control.cancel();
    GateJob alone("/x", "/y");
    EXPECT_EQ(JobThread::runHere(alone, control).end, JobOutcome::End::cancelled);
    EXPECT_EQ(control.progress().phase, JobProgress::Phase::finished);
}

TEST(JobQueueTest, ClosingWaitsALittleForAStuckJobThenLeavesIt)
{
    // A job stuck in a call that does not return, as on a dead network mount: it ignores cancel.
    struct StuckJob : GateJob
    {
        using GateJob::GateJob;
        JobOutcome run(JobControl&) override
        {
            started.set_value();
            while (!released)
                std::this_thread::sleep_for(1ms);
            return { JobOutcome::End::completed, "done" };
        }
    };
    auto stuck = std::make_shared<StuckJob>("/a", "/b");
    std::atomic<int> changes { 0 };
    auto queue = std::make_unique<JobQueue>([&] { ++changes; });
    queue->add(stuck, std::make_shared<JobControl>());
    stuck->started.get_future().wait();
    auto closed = std::async(std::launch::async, [&] { queue->close(100ms); });
    const bool closedInTime = closed.wait_for(3s) == std::future_status::ready;
    if (!closedInTime)
        stuck->released = true;
    ASSERT_TRUE(closedInTime) << "closing waits for a stuck job no longer than it was told";
    EXPECT_EQ(JobThread::abandonedRunning(), 1);

    // The queue may go at once; the stuck job, released later, reaches nothing of it.
    const int changesAtClose = changes.load();
    queue.reset();
    stuck->released = true;
    EXPECT_TRUE(eventually([] { return JobThread::abandonedRunning() == 0; }));
    EXPECT_EQ(changes.load(), changesAtClose);
}
