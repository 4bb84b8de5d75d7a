#include "files/TransferJob.h"
#include "jobs/JobControl.h"
#include "jobscreen/JobRunner.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

// Copies SRC into DSTDIR the way F5 does (a copy job started on the program's job runner, with its
// progress dialog) while a timer on the UI thread measures how long the event loop goes unserved;
// then times `cp -a` of the same source to the same place, and the cancel of a 2 GiB copy.
// Everything it makes below DSTDIR is removed again.

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct JobRun
{
    double seconds = 0;
    double longestStallMs = 0;
    double cancelMs = -1; // from cancel() to the job's end, when cancelled
};

// Runs a copy job of `source` into `folder` on a job runner, the event loop turning meanwhile;
// cancels it after `cancelAfter` seconds when that is positive.
JobRun runCopyJob(QWidget& window, const std::string& source, const std::string& folder, double cancelAfter)
{
    kiv::JobRunner runner(window);
    JobRun run;
    Clock::time_point cancelled;
    bool ended = false;
    runner.onJobEnded = [&](const kiv::JobQueue::Ended&, bool) {
        ended = true;
        if (cancelAfter > 0)
            run.cancelMs = std::chrono::duration<double, std::milli>(Clock::now() - cancelled).count();
    };
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        run.longestStallMs = std::max(run.longestStallMs, double(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.restart();
    });
    const auto start = Clock::now();
    const auto id = runner.start(std::make_shared<kiv::TransferJob>(
        kiv::TransferJob::Mode::copy, kiv::TransferJob::keepingNames({ source }), folder));
    sinceTick.start();
    ticker.start();
    if (cancelAfter > 0) {
        QTimer::singleShot(int(cancelAfter * 1000), [&] {
            cancelled = Clock::now();
            runner.queue().cancel(id);
        });
    }
    while (!ended)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    run.seconds = secondsSince(start);
    return run;
}

double timeCommand(const std::string& command)
{
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "failed: %s\n", command.c_str());
    return secondsSince(start);
}

std::string quoted(const std::string& path)
{
    std::string text = "'";
    for (char c : path)
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: jobbench SRC DSTDIR\n");
        return 2;
    }
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1100, 680);
    window.show();
    namespace fs = std::filesystem;
    const std::string source = fs::absolute(argv[1]).string();
    const std::string base = fs::absolute(argv[2]).string();
    const std::string byJob = base + "/jobbench-job";
    const std::string byCp = base + "/jobbench-cp";

    // Each three times, the best kept: the first run of either also warms the source's cache.
    double jobSeconds = 1e9;
    double cpSeconds = 1e9;
    double stallMs = 0;
    for (int round = 0; round < 3; ++round) {
        fs::remove_all(byJob);
        fs::remove_all(byCp);
        fs::create_directories(byJob);
        fs::create_directories(byCp);
        const JobRun run = runCopyJob(window, source, byJob, 0);
        jobSeconds = std::min(jobSeconds, run.seconds);
        // The first round pays for loading the dialog's fonts; later rounds show the steady state.
        std::printf("round %d: copy job %.3f s, longest UI stall %.1f ms\n", round + 1, run.seconds,
            run.longestStallMs);
        if (round > 0)
            stallMs = std::max(stallMs, run.longestStallMs);
        cpSeconds = std::min(cpSeconds, timeCommand("cp -a " + quoted(source) + " " + quoted(byCp + "/")));
    }
    fs::remove_all(byJob);
    fs::remove_all(byCp);
    std::printf("copy job   %.3f s\ncp -a      %.3f s (job / cp = %.2f)\nlongest UI stall after the first round %.1f ms\n",
        jobSeconds, cpSeconds, jobSeconds / cpSeconds, stallMs);

    // A cancel in the middle of a 2 GiB file.
    const std::string big = base + "/jobbench-2g";
    const int fd = ::open(big.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::posix_fallocate(fd, 0, off_t(2) << 30) != 0) {
        std::fprintf(stderr, "could not make %s\n", big.c_str());
        return 1;
    }
    ::close(fd);
    fs::create_directories(byJob);
    const JobRun cancelled = runCopyJob(window, big, byJob, 0.5);
    std::printf("cancel of a 2 GiB copy took effect in %.1f ms (longest UI stall %.1f ms)\n",
        cancelled.cancelMs, cancelled.longestStallMs);
    fs::remove_all(byJob);
    fs::remove(big);
    return 0;
}
