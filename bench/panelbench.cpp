#include "base/ErrorText.h"
#include "files/FileSystemService.h"
#include "base/PathString.h"
#include "panels/PanelTableView.h"
#include "panels/PanelFrameView.h"
#include "panels/PanelViewController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>

// Builds one file panel offscreen on a folder and times what the user waits for: entering the
// folder from its parent and reload() of the whole panel, each until the rows are shown, with the
// longest time the event loop could not answer meanwhile, and a Down key press with the repaint
// of the list that follows it.
namespace {

constexpr int keyPresses = 1000;

double millisecondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

struct Waited
{
    double milliseconds;
    double longestStallMs;
};

// Starts `work` and runs the event loop until the panel has no listing under way, a 1 ms timer
// recording the longest gap between its ticks.
Waited untilListed(kiv::PanelViewController& panel, const std::function<void()>& work)
{
    QElapsedTimer sinceTick;
    double longestStall = 0;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestStall = std::max(longestStall, double(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.start();
    });
    QElapsedTimer timer;
    timer.start();
    sinceTick.start();
    ticker.start();
    work();
    while (panel.isListing())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    longestStall = std::max(longestStall, double(sinceTick.nsecsElapsed()) / 1e6);
    return { timer.nsecsElapsed() / 1e6, longestStall };
}

int run(const char* folder)
{
    const double listing = millisecondsOf(
        [&] { kiv::FileSystemService().list(folder, kiv::Door::HiddenFiles::hide, kiv::Door::ListingOrder::byName, nullptr); });

    kiv::PanelViewController panel(kiv::PathString::parentOrRoot(folder));
    panel.view()->resize(560, 760);
    panel.view()->show();
    panel.setActive(true);
    QApplication::processEvents();
    const Waited entering = untilListed(panel, [&] { panel.goTo(folder); });
    const Waited reload = untilListed(panel, [&] { panel.reload(); });
    const double firstPaint = millisecondsOf([&] { panel.view()->repaint(); });

    kiv::PanelTableView* list = panel.tableView();
    list->setFocus();
    // Processor time too: on a busy machine the wall-clock figure includes waiting for a core.
    const std::clock_t processorStart = std::clock();
    const double presses = millisecondsOf([&] {
        for (int press = 0; press < keyPresses; ++press) {
            QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
            QApplication::sendEvent(list, &down);
            list->viewport()->repaint();
        }
    });
    const double processor = 1000.0 * double(std::clock() - processorStart) / CLOCKS_PER_SEC;
    std::printf("rows %d  listing %.1f ms  enter %.1f ms (longest UI stall %.1f ms)  reload %.1f ms "
                "(longest UI stall %.1f ms)  first paint %.1f ms  Down+repaint %.3f ms (%.3f ms processor "
                "time; mean of %d)\n",
        list->model()->rowCount(), listing, entering.milliseconds, entering.longestStallMs,
        reload.milliseconds, reload.longestStallMs, firstPaint, presses / keyPresses, processor / keyPresses,
        keyPresses);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: panelbench DIR\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        return run(argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "panelbench: %s\n", kiv::userMessage(error).c_str());
        return 1;
    }
}
