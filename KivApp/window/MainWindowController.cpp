#include "window/MainWindowController.h"

#include "archives/ArchiveMemberCopy.h"
#include "base/ErrorText.h"
#include "commands/FileOperationCommands.h"
#include "commands/ToolCommands.h"
#include "console/CommandLineBar.h"
#include "console/CommandLineField.h"
#include "console/ConsoleOutputView.h"
#include "files/PathString.h"
#include "panels/PanelTableView.h"
#include "panels/PanelViewController.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/RetroMenu.h"
#include "toolkit/RetroSplitView.h"
#include "toolkit/Theme.h"
#include "window/FunctionKeyBarView.h"
#include "window/MainRootView.h"
#include "window/MainWindow.h"
#include "window/PulldownMenuBarView.h"
#include "window/PulldownMenus.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <system_error>

namespace kiv {

namespace {

constexpr QSize initialWindowSize(1100, 680);
constexpr QSize minimumWindowSize(700, 400);

// Paths hold the file system's bytes; Qt wants them decoded the way it decodes file names.
QString qtPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

bool isPermissionRefusal(const std::exception& error)
{
    const auto* systemError = dynamic_cast<const std::system_error*>(&error);
    return systemError
        && (systemError->code() == std::errc::permission_denied
            || systemError->code() == std::errc::operation_not_permitted);
}

// What the user can do about a folder the system refused to list.
QString permissionHint()
{
#ifdef Q_OS_MACOS
    return QStringLiteral(
        "\n\nmacOS protects this folder. Open System Settings > Privacy & Security > Files and "
        "Folders, allow Tavrin access to it, then try again. The panel has stayed where it was "
        "so you can keep browsing.");
#else
    return QStringLiteral(
        "\n\nYou have no permission to read this folder. The panel has stayed where it was so "
        "you can keep browsing.");
#endif
}

} // namespace

MainWindowController::MainWindowController(QObject* parent)
    : QObject(parent)
    , m_leftPanel(std::make_unique<PanelViewController>(m_fsOps.homeDirectoryPath()))
    , m_rightPanel(std::make_unique<PanelViewController>(m_fsOps.homeDirectoryPath()))
    , m_activePanel(m_leftPanel.get())
    , m_window(std::make_unique<MainWindow>())
    , m_fileCommands(std::make_unique<FileOperationCommands>(*this))
    , m_toolCommands(std::make_unique<ToolCommands>(*this))
{
    buildWindow();
    wireCallbacks();
    m_leftPanel->reload();
    m_rightPanel->reload();
    updatePrompt();
}

MainWindowController::~MainWindowController()
{
    // Each panel deletes its own view while the window is still whole, and no longer reports to
    // this controller while the focus moves away from it.
    m_leftPanel->setDelegate(nullptr);
    m_rightPanel->setDelegate(nullptr);
    m_activePanel = nullptr;
    m_leftPanel.reset();
    m_rightPanel.reset();
    m_window.reset();
}

void MainWindowController::buildWindow()
{
    m_window->setWindowTitle(QStringLiteral("Tavrin"));
    m_window->setAutoFillBackground(true);
    QPalette palette = m_window->palette();
    palette.setColor(QPalette::Window, Theme::panelBackground());
    m_window->setPalette(palette);
    m_window->setMinimumSize(minimumWindowSize);
    m_window->resize(initialWindowSize);
    m_root = new MainRootView;
    m_window->setContentView(m_root);
    m_root->splitView()->addWidget(m_leftPanel->view());
    m_root->splitView()->addWidget(m_rightPanel->view());
    m_leftPanel->setDelegate(this);
    m_rightPanel->setDelegate(this);
    m_leftPanel->setActive(true);
    m_rightPanel->setActive(false);
}

std::function<void()> MainWindowController::weakCall(void (MainWindowController::*method)())
{
    return [self = QPointer<MainWindowController>(this), method] {
        if (self)
            (self->*method)();
    };
}

void MainWindowController::wireCallbacks()
{
    QPointer<MainWindowController> self(this);
    const auto functionKey = [self](int key) {
        if (self)
            self->performFunctionKey(key);
    };
    m_window->onFunctionKey = functionKey;
    m_window->onCommandKeyEquivalent.push_back(
        { QStringLiteral("s"), weakCall(&MainWindowController::saveActiveInlineEditor) });
    m_window->onShouldClose = [self] { return !self || self->windowShouldClose(); };
    m_leftPanel->tableView()->setFocus();
    m_root->funcKeyBar()->onKeyTapped = functionKey;
    m_root->menuBar()->onActivate = [self](int index, QRectF frame) {
        if (self)
            self->showPulldownMenu(index, frame);
    };
    m_root->commandLine()->field()->onSubmit = weakCall(&MainWindowController::submitCommandLine);
    m_root->commandLine()->field()->onCancel = [self] {
        if (self)
            self->activePanel().tableView()->setFocus();
    };
}

void MainWindowController::showWindow()
{
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    establishInitialFocusAndSplit();
}

void MainWindowController::establishInitialFocusAndSplit()
{
    QTimer::singleShot(0, this, [this] {
        m_leftPanel->focus();
        m_root->splitView()->equalizePanes();
    });
}

PanelViewController& MainWindowController::otherPanel(const PanelViewController& panel) const
{
    return &panel == m_leftPanel.get() ? *m_rightPanel : *m_leftPanel;
}

ConsoleOutputView* MainWindowController::consoleOutputView() const
{
    return m_consoleOutputView;
}

void MainWindowController::setConsoleOutputView(ConsoleOutputView* view)
{
    m_consoleOutputView = view;
}

void MainWindowController::updatePrompt()
{
    m_root->commandLine()->setPromptPath(qtPath(m_activePanel->state().location().nearestRealDirectory()));
}

void MainWindowController::performFunctionKey(int key)
{
    if (m_consoleOutputView) {
        dismissConsoleOutput();
        return;
    }
    switch (key) {
    case 1:
        showHelp();
        break;
    case 2:
        showUserMenu();
        break;
    case 3:
        viewOperation();
        break;
    case 4:
        editOperation();
        break;
    case 5:
        copyOperation();
        break;
    case 6:
        moveOperation();
        break;
    case 7:
        mkdirOperation();
        break;
    case 8:
        deleteOperation();
        break;
    case 9:
        m_root->menuBar()->activateFirstItem();
        break;
    case 10:
        quitOperation();
        break;
    default:
        break;
    }
}

void MainWindowController::showPulldownMenu(int index, QRectF anchorFrame)
{
    const QPoint below(qRound(anchorFrame.left()), qRound(anchorFrame.bottom()));
    RetroMenu::popUp(PulldownMenus::items(index, *this), below, m_root->menuBar());
}

void MainWindowController::refreshLeft()
{
    m_leftPanel->reload();
}

void MainWindowController::refreshRight()
{
    m_rightPanel->reload();
}

void MainWindowController::toggleHiddenLeft()
{
    toggleHidden(*m_leftPanel);
}

void MainWindowController::toggleHiddenRight()
{
    toggleHidden(*m_rightPanel);
}

void MainWindowController::toggleHidden(PanelViewController& panel)
{
    panel.state().setShowHidden(!panel.state().showHidden());
    panel.reload();
}

void MainWindowController::toggleHiddenBoth()
{
    const bool show = !m_leftPanel->state().showHidden();
    m_leftPanel->state().setShowHidden(show);
    m_rightPanel->state().setShowHidden(show);
    m_leftPanel->reload();
    m_rightPanel->reload();
}

void MainWindowController::goHomeLeft()
{
    goHome(*m_leftPanel);
}

void MainWindowController::goHomeRight()
{
    goHome(*m_rightPanel);
}

void MainWindowController::goHome(PanelViewController& panel)
{
    try {
        panel.state().goTo(m_fsOps.homeDirectoryPath());
    } catch (const std::exception& error) {
        panelDidFailWithError(panel, error);
        return;
    }
    panel.reload();
}

void MainWindowController::focusCommandLine()
{
    m_root->commandLine()->field()->setFocus();
}

void MainWindowController::menuCopy()
{
    copyOperation();
}

void MainWindowController::menuMove()
{
    moveOperation();
}

void MainWindowController::menuMkdir()
{
    mkdirOperation();
}

void MainWindowController::menuDelete()
{
    deleteOperation();
}

void MainWindowController::menuUserMenu()
{
    showUserMenu();
}

void MainWindowController::saveActiveInlineEditor()
{
    m_leftPanel->saveInlineEditorIfPresent();
    m_rightPanel->saveInlineEditorIfPresent();
}

std::optional<std::string> MainWindowController::realFilePath(
    const FileEntry& entry, PanelViewController& panel)
{
    const PanelLocation& location = panel.state().location();
    if (!location.isArchive())
        return PathString::appendingComponent(location.path(), entry.name);
    try {
        return ArchiveMemberCopy::make(
            m_archiveService, location.archiveURL(), location.internalPath() + entry.name);
    } catch (const std::exception& error) {
        RetroDialogs::error(m_window.get(), error);
        return std::nullopt;
    }
}

void MainWindowController::presentInlineEditor(const std::string& filePath)
{
    otherPanel(*m_activePanel).presentEditor(filePath);
}

void MainWindowController::quitOperation()
{
    if (windowShouldClose())
        QCoreApplication::exit(0);
}

bool MainWindowController::windowShouldClose()
{
    return RetroDialogs::confirm(m_window.get(), QStringLiteral("Quit"), QStringLiteral("Quit Tavrin?"));
}

void MainWindowController::panelDidBecomeActive(PanelViewController& panel)
{
    if (&panel == m_activePanel)
        return;
    m_activePanel->setActive(false);
    m_activePanel = &panel;
    m_activePanel->setActive(true);
    updatePrompt();
}

void MainWindowController::panelRequestsSwitch(PanelViewController& panel)
{
    otherPanel(panel).focus();
}

void MainWindowController::panelDidChangeLocation(PanelViewController& panel)
{
    if (&panel == m_activePanel)
        updatePrompt();
}

void MainWindowController::panelDidOpenFile(
    PanelViewController&, const FileEntry&, const std::string& realPath)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(qtPath(realPath)));
}

void MainWindowController::panelDidFailWithError(PanelViewController&, const std::exception& error)
{
    QString text = QString::fromStdString(userMessage(error));
    if (isPermissionRefusal(error))
        text += permissionHint();
    RetroDialogs::message(m_window.get(), QStringLiteral("Can't Open Folder"), text);
}

void MainWindowController::viewOperation()
{
    m_fileCommands->viewOperation();
}

void MainWindowController::editOperation()
{
    m_fileCommands->editOperation();
}

void MainWindowController::copyOperation()
{
    m_fileCommands->copyOperation();
}

void MainWindowController::moveOperation()
{
    m_fileCommands->moveOperation();
}

void MainWindowController::mkdirOperation()
{
    m_fileCommands->mkdirOperation();
}

void MainWindowController::deleteOperation()
{
    m_fileCommands->deleteOperation();
}

void MainWindowController::showHelp()
{
    m_toolCommands->showHelp();
}

void MainWindowController::showUserMenu()
{
    m_toolCommands->showUserMenu();
}

void MainWindowController::runUserMenuItem(const UserMenuItem& item)
{
    m_toolCommands->runUserMenuItem(item);
}

void MainWindowController::editUserMenuFile()
{
    m_toolCommands->editUserMenuFile();
}

void MainWindowController::submitCommandLine()
{
    m_toolCommands->submitCommandLine();
}

void MainWindowController::presentConsoleOutput(
    const QString& promptPath, const QString& command, const ShellRunner::Result& result)
{
    m_toolCommands->presentConsoleOutput(promptPath, command, result);
}

void MainWindowController::dismissConsoleOutput()
{
    m_toolCommands->dismissConsoleOutput();
}

void MainWindowController::menuExtractArchive()
{
    m_toolCommands->menuExtractArchive();
}

void MainWindowController::menuCompare()
{
    m_toolCommands->menuCompare();
}

void MainWindowController::showAbout()
{
    m_toolCommands->showAbout();
}

} // namespace kiv
