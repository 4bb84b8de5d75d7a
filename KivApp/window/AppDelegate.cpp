#include "window/AppDelegate.h"

#include "commands/ToolCommands.h"
#include "files/TemporaryCopy.h"
#include "window/MainWindowController.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>

namespace kiv {

namespace {

#ifdef Q_OS_MACOS
// Runs `slot` ("undo", "copy"...) on the focused text widget; other widgets have no such slot
// and ignore it.
void sendToFocusedWidget(const char* slot)
{
    if (QWidget* focused = QApplication::focusWidget())
        QMetaObject::invokeMethod(focused, slot);
}
#endif

} // namespace

AppDelegate::AppDelegate(StartPaths startPaths, QObject* parent)
    : QObject(parent)
    , m_startPaths(std::move(startPaths))
{
}

AppDelegate::~AppDelegate()
{
    // The viewers and editors go with the window, and with them every use of this run's copies.
    m_windowController.reset();
    TemporaryCopy::removeUnused();
}

void AppDelegate::applicationDidFinishLaunching()
{
    TemporaryCopy::removeUnused(); // what an earlier run that ended without its own clean-up left
    m_windowController = std::make_unique<MainWindowController>(std::move(m_startPaths));
#ifdef Q_OS_MACOS
    installNativeMenuBar();
#endif
    m_windowController->showWindow();
}

void AppDelegate::showAboutTavrin()
{
    if (m_windowController)
        m_windowController->toolCommands().showAbout();
}

#ifdef Q_OS_MACOS

void AppDelegate::installNativeMenuBar()
{
    m_menuBar = std::make_unique<QMenuBar>();
    QMenu* application = m_menuBar->addMenu(QStringLiteral("Tavrin"));
    QAction* about
        = application->addAction(QStringLiteral("About Tavrin"), this, &AppDelegate::showAboutTavrin);
    about->setMenuRole(QAction::AboutRole);
    // Hide, Hide Others and Show All are added to the application menu by the system itself.
    QAction* quit = application->addAction(
        QStringLiteral("Quit Tavrin"), &m_windowController->toolCommands(), &ToolCommands::quitAtOnce);
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);

    QMenu* edit = m_menuBar->addMenu(QStringLiteral("Edit"));
    const auto addEditItem = [edit](const QString& title, QKeySequence keys, const char* slot) {
        QAction* action = edit->addAction(title, [slot] { sendToFocusedWidget(slot); });
        action->setShortcut(keys);
        action->setMenuRole(QAction::NoRole);
    };
    addEditItem(QStringLiteral("Undo"), QKeySequence::Undo, "undo");
    addEditItem(
        QStringLiteral("Redo"), QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z), "redo");
    edit->addSeparator();
    addEditItem(QStringLiteral("Cut"), QKeySequence::Cut, "cut");
    addEditItem(QStringLiteral("Copy"), QKeySequence::Copy, "copy");
    addEditItem(QStringLiteral("Paste"), QKeySequence::Paste, "paste");
    addEditItem(QStringLiteral("Select All"), QKeySequence::SelectAll, "selectAll");
}
#endif

} // namespace kiv
