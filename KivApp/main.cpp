#include "base/ZoneFile.h"
#include "settings/ProgramArguments.h"
#include "settings/StartPlace.h"
#include "window/AppDelegate.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <filesystem>

namespace {

kiv::ProgramArguments argumentsOf(int argc, char* argv[])
{
    return kiv::ProgramArguments::parse(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
}

// The panels' places for the paths given; a path given relative to a working folder that is gone
// is taken from the root.
std::vector<kiv::StartPlace> startPlaces(const std::vector<std::string>& paths)
{
    std::error_code gone;
    const std::filesystem::path current = std::filesystem::current_path(gone);
    const std::string workingFolder = gone ? std::string(1, '/') : current.string();
    std::vector<kiv::StartPlace> places;
    for (const std::string& path : paths)
        places.push_back(kiv::StartPlace::of(path, workingFolder));
    return places;
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
    kiv::AppDelegate delegate(startPlaces(arguments.folders));
    QTimer::singleShot(0, &delegate, &kiv::AppDelegate::applicationDidFinishLaunching);
    return app.exec();
}
