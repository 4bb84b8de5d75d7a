#include "window/MainWindowController.h"

#include "base/ErrorText.h"
#include "commands/FileOperationCommands.h"
#include "commands/HistoryCommands.h"
#include "commands/ShellCommands.h"
#include "commands/ToolCommands.h"
#include "commands/TrashCommands.h"
#include "console/CommandLineBar.h"
#include "console/CommandLineField.h"
#include "panels/PanelPair.h"
#include "panels/PanelTableView.h"
#include "panels/PanelViewController.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/RetroMenu.h"
#include "toolkit/RetroSplitView.h"
#include "toolkit/ShownText.h"
#include "toolkit/Theme.h"
#include "toolkit/Weakly.h"
#include "window/FunctionKeyBarView.h"
#include "window/MainRootView.h"
#include "window/MainWindow.h"
#include "window/PulldownMenuBarView.h"
#include "window/PulldownMenus.h"

#include <QDesktopServices>
#include <QFile>
#include <QTimer>
#include <QUrl>
#include <system_error>

namespace kiv {

namespace {

constexpr QSize initialWindowSize(1100, 680);
constexpr QSize minimumWindowSize(700, 400);

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
    , m_trash(Trash::homeTrashPath(m_fileSystem.homeDirectoryPath()))
    , m_history(m_trash)
    , m_panels(std::make_unique<PanelPair>(m_fileSystem.homeDirectoryPath()))
    , m_window(std::make_unique<MainWindow>())
{
    buildWindow();
    makeCommands();
    bindKeys();
    m_panels->reloadBoth();
    updatePrompt();
}

MainWindowController::~MainWindowController()
{
    // Each panel deletes its own view while the window is still whole, and no longer reports to
    // this controller while the focus moves away from it.
    m_panels->left().setDelegate(nullptr);
    m_panels->right().setDelegate(nullptr);
    m_panels.reset();
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
    m_root->splitView()->addWidget(m_panels->left().view());
    m_root->splitView()->addWidget(m_panels->right().view());
    m_panels->left().setDelegate(this);
    m_panels->right().setDelegate(this);
    m_panels->left().tableView()->setFocus();
}

void MainWindowController::makeCommands()
{
    const CommandContext context { *m_panels, *m_window, m_fileSystem, m_archives, m_trash, m_history };
    m_fileCommands = std::make_unique<FileOperationCommands>(context);
    m_shellCommands = std::make_unique<ShellCommands>(
        context, *m_root->commandLine()->field(), *m_root, weakly(m_root, &MainRootView::showOverlay));
    m_toolCommands = std::make_unique<ToolCommands>(context);
    m_trashCommands = std::make_unique<TrashCommands>(context);
    m_historyCommands = std::make_unique<HistoryCommands>(context);
}

void MainWindowController::bindKeys()
{
    using Files = FileOperationCommands;
    Files* files = m_fileCommands.get();
    ShellCommands* shell = m_shellCommands.get();
    ToolCommands* tools = m_toolCommands.get();
    m_functionKeys = { weakly(tools, &ToolCommands::showHelp), weakly(shell, &ShellCommands::showUserMenu),
        weakly(files, &Files::viewOperation), weakly(files, &Files::editOperation),
        weakly(files, &Files::copyOperation), weakly(files, &Files::moveOperation),
        weakly(files, &Files::mkdirOperation), weakly(files, &Files::deleteOperation),
        weakly(m_root->menuBar(), &PulldownMenuBarView::activateFirstItem),
        weakly(tools, &ToolCommands::quit) };
    const auto pressKey = weakly(this, &MainWindowController::pressFunctionKey);
    m_window->onFunctionKey = pressKey;
    m_root->funcKeyBar()->onKeyTapped = pressKey;
    m_window->onCommandKeyEquivalent.push_back(
        { QStringLiteral("s"), weakly(m_panels.get(), &PanelPair::saveEditors) });
    m_window->onShouldClose = weakly(tools, &ToolCommands::confirmQuit);
    for (PanelViewController* panel : { &m_panels->left(), &m_panels->right() }) {
        PanelTableView* table = panel->tableView();
        table->onMoveToTrash = weakly(m_trashCommands.get(), &TrashCommands::trashOperation);
        table->onUndo = weakly(m_historyCommands.get(), &HistoryCommands::undoOperation);
        table->onRedo = weakly(m_historyCommands.get(), &HistoryCommands::redoOperation);
    }
    m_root->menuBar()->onActivate = weakly(this, &MainWindowController::showPulldownMenu);
    m_root->commandLine()->field()->onSubmit = weakly(shell, &ShellCommands::submitCommandLine);
    m_root->commandLine()->field()->onCancel = weakly(shell, &ShellCommands::leaveCommandLine);
}

void MainWindowController::showWindow()
{
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    QTimer::singleShot(0, this, [this] {
        m_panels->left().focus();
        m_root->splitView()->equalizePanes();
    });
}

void MainWindowController::pressFunctionKey(int key)
{
    // While the console output covers the window, every function key only closes it.
    if (m_shellCommands->consoleOutput()) {
        m_shellCommands->dismissConsoleOutput();
        return;
    }
    if (key >= 1 && key <= int(m_functionKeys.size()))
        m_functionKeys[std::size_t(key - 1)]();
}

void MainWindowController::showPulldownMenu(int index, QRectF anchorFrame)
{
    const QPoint below(qRound(anchorFrame.left()), qRound(anchorFrame.bottom()));
    const PulldownMenus::Targets targets { *m_panels, *m_fileCommands, *m_trashCommands, *m_historyCommands,
        *m_shellCommands, *m_toolCommands, *m_root->commandLine()->field(), m_fileSystem };
    RetroMenu::popUp(PulldownMenus::items(index, targets), below, m_root->menuBar());
}

void MainWindowController::updatePrompt()
{
    m_root->commandLine()->setPromptPath(
        ShownText::of(m_panels->active().state().location().nearestRealDirectory()));
}

void MainWindowController::panelDidBecomeActive(PanelViewController& panel)
{
    if (m_panels->makeActive(panel))
        updatePrompt();
}

void MainWindowController::panelRequestsSwitch(PanelViewController& panel)
{
    m_panels->other(panel).focus();
}

void MainWindowController::panelDidChangeLocation(PanelViewController& panel)
{
    if (&panel == &m_panels->active())
        updatePrompt();
}

void MainWindowController::panelDidOpenFile(
    PanelViewController&, const FileEntry&, const std::string& realPath)
{
    // Not shown text: Qt takes the path back as a file name, decoded as it decodes file names.
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(realPath))));
}

void MainWindowController::panelDidFailWithError(PanelViewController&, const std::exception& error)
{
    QString text = ShownText::of(userMessage(error));
    if (isPermissionRefusal(error))
        text += permissionHint();
    RetroDialogs::message(m_window.get(), QStringLiteral("Can't Open Folder"), text);
}

} // namespace kiv
