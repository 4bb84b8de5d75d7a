#pragma once

#include "settings/StartPaths.h"

#include <QObject>
#include <memory>
#include <vector>

class QMenuBar;

namespace kiv {

class MainWindowController;

// The application's own object: once the event loop is about to run it creates the one main
// window controller, which it keeps for the rest of the run, and on macOS puts up the system menu
// (About, Hide, Quit and text editing); elsewhere the window's command table has Quit and Hide.
class AppDelegate : public QObject
{
    Q_OBJECT
public:
    // Creates the delegate for a window whose panels open on `startPaths` (see
    // MainWindowController); nothing is shown until applicationDidFinishLaunching().
    explicit AppDelegate(StartPaths startPaths = {}, QObject* parent = nullptr);
    // Destroys the main window controller and with it the window, then removes the temporary
    // copies of archive members this run made.
    ~AppDelegate() override;

    // Removes the temporary copies of archive members left by runs that have ended, creates the
    // main window controller, installs the system menu on macOS and brings its window to the front with
    // the keyboard.
    void applicationDidFinishLaunching();
    // Returns the main window controller, or null before launching has finished.
    MainWindowController* windowController() const { return m_windowController.get(); }
    // Shows the About box of the main window controller, if there is one.
    void showAboutTavrin();

private:
#ifdef Q_OS_MACOS
    void installNativeMenuBar();
#endif

    StartPaths m_startPaths;
    std::unique_ptr<MainWindowController> m_windowController;
#ifdef Q_OS_MACOS
    std::unique_ptr<QMenuBar> m_menuBar;
#endif
};

} // namespace kiv
