#include "viewer/ViewerWindowController.h"

#include "files/FileSystemService.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"
#include "viewer/ViewerLoadJob.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <cstdio>
#include <fstream>
#include <string>

// Times opening FILE in the viewer window: the viewer's job (reading and judging the file, building
// the document of its text), then the window's own part (building the window, taking the document,
// up to the first paint of the shown window). Run it with QT_QPA_PLATFORM=offscreen. Prints the
// milliseconds of each, the resident-memory growth in KiB, and the number of text blocks.
namespace {

// Resident memory from /proc (Linux); 0 where there is none, so the growth reads 0 there.
long residentKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: QT_QPA_PLATFORM=offscreen viewbench FILE\n");
        return 2;
    }
    const long memoryBefore = residentKiB();
    QElapsedTimer timer;
    timer.start();
    // The viewer's job, run on this thread as its worker would run it; gone once the window has
    // what it read, as in the program.
    auto job = std::make_unique<kiv::ViewerLoadJob>(kiv::FileSystemService::shared(), argv[1]);
    kiv::JobControl control;
    if (kiv::JobThread::runHere(*job, control).end != kiv::JobOutcome::End::completed) {
        std::fprintf(stderr, "viewbench: the file could not be read\n");
        return 1;
    }
    const kiv::PreviewText::Preview::Kind kind = job->loaded().preview().kind;
    std::unique_ptr<QTextDocument> text = job->takeDocument();
    job.reset();
    const qint64 jobTime = timer.restart();
    kiv::ViewerWindowController viewer(argv[1], kind, std::move(text), std::nullopt,
        [](kiv::PreviewText::Form, const kiv::ViewerWindowController::Show&) {});
    viewer.showWindow();
    viewer.window()->grab();
    const qint64 windowTime = timer.elapsed();
    const int blocks = viewer.window()->findChild<QPlainTextEdit*>()->blockCount();
    std::printf("%lld ms reading and building (the job), %lld ms on the window's thread, %ld KiB resident growth, "
                "%d blocks\n",
        static_cast<long long>(jobTime), static_cast<long long>(windowTime), residentKiB() - memoryBefore, blocks);
    return 0;
}
