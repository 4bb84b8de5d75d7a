#include "base/ZoneFile.h"
#include "settings/ProgramArguments.h"
#include "settings/StartPaths.h"
#include "window/AppDelegate.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>

namespace {

kiv::ProgramArguments argumentsOf(int argc, char* argv[])
{
    return kiv::ProgramArguments::parse(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
}

} // namespace

int main(int argc, char* argv[])
{
    // Help and the version need no display, so they are answered before Qt starts.
    if (const kiv::ProgramArguments early = argumentsOf(argc, argv);
        early.action == kiv::ProgramArguments::Action::print) {
        std::fputs(early.text.c_str(), stdout);
        return 0;
    }
    kiv::ZoneFile::keepLoaded();
    QApplication app(argc, argv); // takes Qt's own options (-platform, -style...) out of argv
    const kiv::ProgramArguments arguments = argumentsOf(argc, argv);
    if (arguments.action == kiv::ProgramArguments::Action::refuse) {
        std::fputs(arguments.text.c_str(), stderr);
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    QApplication::setDesktopFileName(QStringLiteral("tavrin"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tavrin.png")));
    kiv::AppDelegate delegate(kiv::StartPaths::ofArguments(arguments.folders));
    QTimer::singleShot(0, &delegate, &kiv::AppDelegate::applicationDidFinishLaunching);
    return app.exec();
}
