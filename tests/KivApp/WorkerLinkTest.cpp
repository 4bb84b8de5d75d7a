#include "jobscreen/WorkerLink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace kiv;

namespace {

void runEventsFor(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace

TEST(WorkerLinkTest, CallsFromAWorkerRunOnTheUIThreadOnlyWhileTheLinkLives)
{
    std::vector<int> heard;
    std::vector<bool> onUiThread;
    auto link = std::make_unique<WorkerLink>();
    const auto report = link->relay<int>([&](int value) {
        heard.push_back(value);
        onUiThread.push_back(QThread::currentThread() == QCoreApplication::instance()->thread());
    });
    std::thread([report] { report(1); }).join();
    EXPECT_TRUE(heard.empty()) << "the call waits for the event loop";
    runEventsFor(20);
    EXPECT_EQ(heard, std::vector<int> { 1 });
    EXPECT_EQ(onUiThread, std::vector<bool> { true });

    // Posted before the link went and after: neither reaches what is gone.
    std::thread([report] { report(2); }).join();
    link.reset();
    std::thread([report] { report(3); }).join();
    runEventsFor(20);
    EXPECT_EQ(heard, std::vector<int> { 1 });
}

TEST(WorkerLinkTest, ThePulseKeepsQuietForTheFirstMomentThenTicksOften)
{
    WorkerLink link;
    int ticks = 0;
    link.onPulse = [&] { ++ticks; };
    link.startPulse();
    runEventsFor(WorkerLink::quietMilliseconds - 100);
    EXPECT_EQ(ticks, 0) << "work that ends within a blink shows nothing";
    runEventsFor(100 + 3 * WorkerLink::pulseMilliseconds + 50);
    EXPECT_GE(ticks, 2);
    link.stopPulse();
    const int stoppedAt = ticks;
    runEventsFor(2 * WorkerLink::pulseMilliseconds);
    EXPECT_EQ(ticks, stoppedAt);
    EXPECT_FALSE(link.isPulsing());
}
