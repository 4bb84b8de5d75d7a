#include "console/ConsoleView.h"
#include "terminal/TerminalSession.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <string>

// Times a command's output in the console as the user meets it: the console shown over a
// window-sized area, the command writing to its terminal as fast as it can. Run it with
// QT_QPA_PLATFORM=offscreen. The command is COMMAND if given, else 50 MB of base64 lines on
// standard error. Prints the milliseconds to the end shown, the growth of peak resident memory in
// MiB, the longest stall of the event loop in milliseconds and the lines kept in the scrollback.
namespace {

// The peak resident memory (Linux's VmHWM) or the present one (VmRSS), in KiB; 0 where /proc is
// missing, so the growth reads 0 there.
long memoryKiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::string command
        = argc > 1 ? argv[1] : "head -c 37500000 /dev/urandom | base64 >&2"; // 50 MB once encoded
    kiv::ConsoleView console;
    console.resize(1000, 700);
    console.show();
    const long memoryBefore = memoryKiB("VmRSS:");

    // A tick every millisecond: the longest gap between two is the longest the window could not answer.
    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = 0;
    qint64 longestStall = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestStall = std::max(longestStall, now - lastTick);
        lastTick = now;
    });
    ticker.start(1);

    qint64 endShown = 0;
    console.onEnd = [&] {
        console.grab(); // the end painted, as the user sees it
        endShown = clock.elapsed();
        QTimer::singleShot(0, &app, &QApplication::quit);
    };
    console.start(command, "/tmp");
    app.exec();
    kiv::TerminalSnapshot snapshot;
    console.session().copyView(0, 0, snapshot);
    std::printf("%lld ms to the end shown, %ld MiB peak memory growth, %lld ms longest stall, %zu lines kept\n",
        static_cast<long long>(endShown), (memoryKiB("VmHWM:") - memoryBefore) / 1024,
        static_cast<long long>(longestStall), snapshot.scrollbackLines + std::size_t(snapshot.rows));
    return 0;
}
