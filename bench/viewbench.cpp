#include "viewer/ViewerWindowController.h"

#include "files/FilePreviewReader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <cstdio>
#include <fstream>
#include <string>

// Times opening FILE in the viewer window: reading and judging the file, building the window and
// setting its text, up to the first paint of the shown window. Run it with QT_QPA_PLATFORM=offscreen.
// Prints the milliseconds taken, the resident-memory growth in KiB, and the number of text blocks.
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
    // Read as the viewer's job reads it, on this thread: the time is the reading and the window.
    kiv::ViewerWindowController viewer(argv[1], kiv::FilePreviewReader::load(argv[1]), std::nullopt,
        [](kiv::PreviewText::Form, std::function<void(kiv::PreviewText::Preview)>) {});
    viewer.showWindow();
    viewer.window()->grab();
    const qint64 elapsed = timer.elapsed();
    const int blocks = viewer.window()->findChild<QPlainTextEdit*>()->blockCount();
    std::printf("%lld ms, %ld KiB resident growth, %d blocks\n", static_cast<long long>(elapsed),
        residentKiB() - memoryBefore, blocks);
    return 0;
}
