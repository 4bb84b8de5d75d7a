#include "console/ConsoleView.h"
#include "terminal/TerminalSession.h"
#include "toolkit/Theme.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <fstream>
#include <string>

// Times a command's output in the console as the user meets it: the console shown over a
// window-sized area, the command writing to its terminal as fast as it can. Run it with
// QT_QPA_PLATFORM=offscreen. The command is COMMAND if given, else 50 MB of base64 lines on
// standard error. Prints the milliseconds to the end shown, the growth of peak resident memory in
// MiB, the longest stall of the event loop in milliseconds, the most processor time the window's
// thread used in one (the rest of a stall is the wait for a processor, which a loaded machine makes
// long) and the lines kept in the scrollback.
// Then, as the measure of what the machine allows, the same command through
// `script -qc COMMAND /dev/null >/dev/null` (the bare pseudo-terminal) while the event loop ticks
// as before: its milliseconds and the longest stall and work meanwhile. The window and the
// console's font have been drawn once before the clock starts, as the window and its panels have
// when a command runs, so the figures hold no drawing done once per run of the program.
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

// The processor time the calling thread has used, in microseconds.
qint64 threadMicroseconds()
{
    timespec used {};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
    return qint64(used.tv_sec) * 1'000'000 + used.tv_nsec / 1'000;
}

// A tick every millisecond: the longest gap between two is the longest the window could not
// answer; the most processor time the window's thread used between two is how much of that gap
// was its own work, the rest being the wait for a processor.
class StallWatch
{
public:
    StallWatch()
    {
        m_clock.start();
        m_lastBusy = threadMicroseconds();
        QObject::connect(&m_ticker, &QTimer::timeout, [this] {
            const qint64 now = m_clock.elapsed();
            const qint64 busy = threadMicroseconds();
            m_longest = std::max(m_longest, now - m_last);
            m_longestBusy = std::max(m_longestBusy, busy - m_lastBusy);
            m_last = now;
            m_lastBusy = busy;
        });
        m_ticker.start(1);
    }
    // Starts a new measure; returns the longest stall of the last one and, in `busy`, the most
    // processor time the thread used in one, both in milliseconds.
    qint64 restart(double& busy)
    {
        const qint64 longest = std::max(m_longest, m_clock.elapsed() - m_last);
        busy = std::max(m_longestBusy, threadMicroseconds() - m_lastBusy) / 1000.0;
        m_clock.restart();
        m_last = 0;
        m_longest = 0;
        m_lastBusy = threadMicroseconds();
        m_longestBusy = 0;
        return longest;
    }
    qint64 elapsed() const { return m_clock.elapsed(); }

private:
    QElapsedTimer m_clock;
    QTimer m_ticker;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    qint64 m_lastBusy = 0;
    qint64 m_longestBusy = 0;
};

// Draws the printable ASCII in the console's fonts, as the panels have drawn it before a command runs.
void drawConsoleFonts()
{
    QString ascii;
    for (char16_t character = 0x20; character < 0x7F; ++character)
        ascii += QChar(character);
    QImage image(1000, 16, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    for (const QFont& font : { kiv::Theme::monoFont(12), kiv::Theme::monoFontBold(12) }) {
        painter.setFont(font);
        painter.drawText(QPointF(0, 12), ascii);
    }
}

} // namespace

int main(int argc, char** argv)
{
    ::setenv("SHELL", "/bin/sh", 1); // no greetings from the user's login shell in the figures
    QApplication app(argc, argv);
    const std::string command
        = argc > 1 ? argv[1] : "head -c 37500000 /dev/urandom | base64 >&2"; // 50 MB once encoded
    kiv::ConsoleView console;
    console.resize(1000, 700);
    console.show();
    drawConsoleFonts();
    QApplication::processEvents(); // the window's first paint
    const long memoryBefore = memoryKiB("VmRSS:");

    StallWatch stalls;
    qint64 endShown = 0;
    console.onEnd = [&] {
        console.repaint(); // the end painted into the window, as the user sees it
        endShown = stalls.elapsed();
        QTimer::singleShot(0, &app, &QApplication::quit);
    };
    console.start(command, "/tmp");
    app.exec();
    double consoleBusy = 0;
    const qint64 consoleStall = stalls.restart(consoleBusy);
    kiv::TerminalSnapshot snapshot;
    console.session().copyView(0, 0, snapshot);
    std::printf("%lld ms to the end shown, %ld MiB peak memory growth, %lld ms longest stall, %.1f ms longest "
                "work of the window's thread, %zu lines kept\n",
        static_cast<long long>(endShown), (memoryKiB("VmHWM:") - memoryBefore) / 1024,
        static_cast<long long>(consoleStall), consoleBusy, snapshot.scrollbackLines + std::size_t(snapshot.rows));

    QProcess script;
    script.setStandardOutputFile(QProcess::nullDevice());
    QObject::connect(&script, &QProcess::finished, &app, &QApplication::quit);
    script.start(QStringLiteral("script"),
        { QStringLiteral("-qc"), QString::fromStdString(command), QStringLiteral("/dev/null") });
    app.exec();
    const qint64 scriptTime = stalls.elapsed();
    double scriptBusy = 0;
    const qint64 scriptStall = stalls.restart(scriptBusy);
    std::printf("%lld ms through script, %lld ms longest stall and %.1f ms longest work meanwhile\n",
        static_cast<long long>(scriptTime), static_cast<long long>(scriptStall), scriptBusy);
    return 0;
}
