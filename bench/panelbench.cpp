#include "base/ErrorText.h"
#include "files/FileSystemService.h"
#include "panels/PanelTableView.h"
#include "panels/PanelViewController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <cstdio>
#include <ctime>

// Builds one file panel offscreen on a folder and times what the user waits for: reload() of the
// whole panel, and a Down key press with the repaint of the list that follows it.
namespace {

constexpr int keyPresses = 1000;

double millisecondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

int run(const char* folder)
{
    const double listing = millisecondsOf(
        [&] { kiv::FileSystemService().listDirectory(folder, kiv::FileSystemService::HiddenFiles::hide); });

    kiv::PanelViewController panel(folder);
    panel.view()->resize(560, 760);
    panel.view()->show();
    panel.setActive(true);
    QApplication::processEvents();
    const double reload = millisecondsOf([&] { panel.reload(); });
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
    std::printf("rows %d  listDirectory %.1f ms  reload %.1f ms  first paint %.1f ms  Down+repaint %.3f ms "
                "(%.3f ms processor time; mean of %d)\n",
        list->model()->rowCount(), listing, reload, firstPaint, presses / keyPresses, processor / keyPresses,
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
