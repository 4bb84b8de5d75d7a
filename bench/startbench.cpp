#include "window/AppDelegate.h"
#include "window/MainWindow.h"
#include "window/MainWindowController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <cstring>

// Starts Tavrin as main() does and times it from the start of the process's main() to the end
// of the main window's first paint, both panels listed. Prints the milliseconds. With
// "--screenshot FILE" it then lets the start-up finish (focus, divider) and saves the window
// as a PNG. Run it with QT_QPA_PLATFORM=offscreen (or under a display) and HOME set to the
// folder to list.
namespace {

// Notices the first paint of any widget of the main window.
class FirstPaintWatch : public QObject
{
public:
    std::function<void()> onFirstPaint;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && onFirstPaint && qobject_cast<QWidget*>(watched)
            && qobject_cast<kiv::MainWindow*>(static_cast<QWidget*>(watched)->window())) {
            // Report once the whole paint pass that this event starts has run.
            QTimer::singleShot(0, this, std::exchange(onFirstPaint, nullptr));
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer timer;
    timer.start();
    const char* screenshot = argc == 3 && std::strcmp(argv[1], "--screenshot") == 0 ? argv[2] : nullptr;
    if (argc != 1 && !screenshot) {
        std::fprintf(stderr, "usage: startbench [--screenshot FILE]\n");
        return 2;
    }
    QApplication app(argc, argv);
    kiv::AppDelegate delegate;
    FirstPaintWatch watch;
    app.installEventFilter(&watch);
    int status = 0;
    watch.onFirstPaint = [&] {
        std::printf("%lld ms to the first painted window\n", static_cast<long long>(timer.elapsed()));
        if (!screenshot)
            return QCoreApplication::exit(0);
        QTimer::singleShot(100, [&] {
            if (!delegate.windowController()->window().grab().save(QString::fromLocal8Bit(screenshot)))
                status = 1;
            QCoreApplication::exit(status);
        });
    };
    QTimer::singleShot(0, &delegate, &kiv::AppDelegate::applicationDidFinishLaunching);
    app.exec();
    return status;
}
