#include "base/ZoneFile.h"
#include "window/AppDelegate.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int main(int argc, char* argv[])
{
    kiv::ZoneFile::keepLoaded();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    QApplication::setDesktopFileName(QStringLiteral("tavrin"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tavrin.png")));
    kiv::AppDelegate delegate;
    QTimer::singleShot(0, &delegate, &kiv::AppDelegate::applicationDidFinishLaunching);
    return app.exec();
}
