#include "window/MainWindowController.h"

#include "base/ErrorText.h"
#include "base/PathString.h"
#include "commands/AttributeCommands.h"
#include "commands/Actions.h"
#include "commands/CommandTable.h"
#include "commands/ClipboardCommands.h"
#include "commands/ComparisonCommands.h"
#include "commands/DragDropCommands.h"
#include "commands/FileOperationCommands.h"
#include "commands/KeyRouter.h"
#include "commands/NavigationCommands.h"
#include "commands/OpenWithCommands.h"
#include "commands/QuickViewCommands.h"
#include "commands/RenameCommands.h"
#include "commands/SearchCommands.h"
#include "commands/ShellCommands.h"
#include "commands/TabCommands.h"
#include "commands/ToolCommands.h"
#include "commands/TrashCommands.h"
#include "commands/ViewEditCommands.h"
#include "commands/UndoCommands.h"
#include "console/CommandLineBar.h"
#include "console/CommandLineField.h"
#include "jobscreen/JobRunner.h"
#include "panels/PanelFrameView.h"
#include "panels/PanelPair.h"
#include "panels/PanelViewController.h"
#include "remote/RemoteError.h"
#include "settings/SettingsStore.h"
#include "settings/StartPlaceJob.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/RetroMenu.h"
#include "toolkit/RetroMenuPanel.h"
#include "toolkit/RetroMenuSession.h"
#include "toolkit/RetroMenuView.h"
#include "toolkit/RetroSplitView.h"
#include "toolkit/ShownText.h"
#include "toolkit/Theme.h"
#include "toolkit/Weakly.h"
#include "window/FunctionKeyBarView.h"
#include "window/MainRootView.h"
#include "window/MainWindow.h"
#include "window/PulldownMenuBarView.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QTimer>
#include <QUrl>
#include <array>
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

// What the user can do about a folder (or archive: `what`) the system refused to list.
QString permissionHint(const QString& what)
{
#ifdef Q_OS_MACOS
    return QStringLiteral(
        "\n\nmacOS protects this %1. Open System Settings > Privacy & Security > Files and "
        "Folders, allow Tavrin access to it, then try again. The panel has stayed where it was "
        "so you can keep browsing.").arg(what);
#else
    return QStringLiteral(
        "\n\nYou have no permission to read this %1. The panel has stayed where it was so "
        "you can keep browsing.").arg(what);
#endif
}

} // namespace

MainWindowController::MainWindowController(StartPaths startPaths, QObject* parent)
    : QObject(parent)
    , m_trash(Trash::homeTrashPath(m_fileSystem.homeDirectoryPath()))
    , m_history(m_trash)
    , m_panels(std::make_unique<PanelPair>(m_fileSystem.homeDirectoryPath()))
    , m_window(std::make_unique<MainWindow>())
    , m_startPaths(std::move(startPaths))
{
    buildWindow();
    makeCommands();
    bindKeys();
    restoreSettings();
    updatePrompt();
}

MainWindowController::~MainWindowController()
{
    // Jobs end first (cancelled), while the panels they would relist are still there.
    m_jobs.reset();
    saveSettings(Failures::ignored); // the window is going: there is nobody left to tell

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
    m_panels->left().focus();
}

void MainWindowController::makeCommands()
{
    m_jobs = std::make_unique<JobRunner>(*m_window);
    m_jobs->onJobEnded = [this](const JobQueue::Ended& ended, bool unwatched) {
        relistAfter(ended.footprint);
        tellEnd(ended.outcome, unwatched);
    };
    m_jobs->onActivity = [this] { m_root->menuBar()->setIndicator(m_jobs->indicator()); };
    const CommandContext context { *m_panels, *m_window, m_fileSystem, m_archives, *m_jobs, m_trash,
        m_history };
    m_fileCommands = std::make_unique<FileOperationCommands>(context);
    m_viewEditCommands = std::make_unique<ViewEditCommands>(context);
    m_shellCommands = std::make_unique<ShellCommands>(context, *m_root->commandLine()->field(), *m_root,
        weakly(m_root, &MainRootView::showOverlay), *m_viewEditCommands);
    m_toolCommands = std::make_unique<ToolCommands>(context);
    m_trashCommands = std::make_unique<TrashCommands>(context);
    m_undoCommands = std::make_unique<UndoCommands>(context);
    m_searchCommands = std::make_unique<SearchCommands>(context);
    m_clipboardCommands = std::make_unique<ClipboardCommands>(context);
    m_dragDropCommands = std::make_unique<DragDropCommands>(context);
    m_openWithCommands = std::make_unique<OpenWithCommands>(context);
    m_navigationCommands = std::make_unique<NavigationCommands>(context, *m_root->commandLine()->field());
    m_attributeCommands = std::make_unique<AttributeCommands>(context);
    m_quickViewCommands = std::make_unique<QuickViewCommands>(context, *m_root->splitView());
    m_tabCommands = std::make_unique<TabCommands>(*m_panels);
    m_renameCommands = std::make_unique<RenameCommands>(context);
    m_comparisonCommands = std::make_unique<ComparisonCommands>(context);
    m_navigationCommands->onHotlistChanged
        = weakly(this, [](MainWindowController& controller) { controller.saveSettings(Failures::reported); });
}

void MainWindowController::restoreSettings()
{
    SettingsStore::Loaded loaded = SettingsStore::load();
    Settings& settings = loaded.settings;
    if (settings.windowWidth > 0 && settings.windowHeight > 0)
        m_window->resize(settings.windowWidth, settings.windowHeight);
    m_keptDivider = settings.dividerPosition;
    const std::array<PanelViewController*, 2> panels { &m_panels->left(), &m_panels->right() };
    const std::array<PanelSettings*, 2> kept { &settings.left, &settings.right };
    for (std::size_t side = 0; side < panels.size(); ++side)
        m_tabCommands->restore(*panels[side], *kept[side], side == 0 ? settings.leftTabs : settings.rightTabs,
            m_fileSystem.homeDirectoryPath());
    m_navigationCommands->hotlist().restore(settings.hotlist);
    m_shellCommands->commandHistory().restore(settings.commandHistory);
    m_unknownSettingsLines = std::move(settings.unknownLines);
    m_settingsProblem = loaded.problem;
    m_maySaveSettings = loaded.maySave;
}

void MainWindowController::saveSettings(Failures failures)
{
    if (!m_maySaveSettings)
        return;
    // A window never laid out has no divider of its own yet: the one read at start stays.
    const QList<int> paneWidths = m_root->splitView()->sizes();
    if (m_root->splitView()->isVisible() && paneWidths.size() == 2 && paneWidths[0] > 0)
        m_keptDivider = paneWidths[0];
    Settings settings { m_panels->left().settings(), m_panels->right().settings(), m_window->width(),
        m_window->height(), m_keptDivider, m_navigationCommands->hotlist().folders(),
        m_shellCommands->commandHistory().lines(), m_tabCommands->hiddenTabs(m_panels->left()),
        m_tabCommands->hiddenTabs(m_panels->right()) };
    settings.unknownLines = m_unknownSettingsLines;
    try {
        SettingsStore::save(settings);
    } catch (const std::exception& error) {
        if (failures == Failures::reported)
            RetroDialogs::error(m_window.get(), error);
    }
}

void MainWindowController::placeDivider()
{
    RetroSplitView* split = m_root->splitView();
    split->equalizePanes();
    const int width = split->width() - RetroSplitView::dividerThickness;
    if (m_keptDivider > 0 && m_keptDivider < width)
        split->setSizes({ m_keptDivider, width - m_keptDivider });
}

void MainWindowController::bindKeys()
{
    m_commandTable = std::make_unique<CommandTable>();
    const Actions::Targets targets { m_panels.get(), m_window.get(), m_root->commandLine()->field(),
        m_fileCommands.get(), m_trashCommands.get(), m_undoCommands.get(), m_shellCommands.get(),
        m_toolCommands.get(), m_navigationCommands.get(), m_searchCommands.get(), m_clipboardCommands.get(),
        m_attributeCommands.get(), m_quickViewCommands.get(), m_openWithCommands.get(), m_commandTable.get(),
        m_fileSystem.homeDirectoryPath(),
        weakly(m_root->menuBar(), &PulldownMenuBarView::activateFirstItem), m_renameCommands.get(),
        m_comparisonCommands.get(), m_tabCommands.get(), m_viewEditCommands.get() };
    m_commandTable->setActions(Actions::all(targets));
    m_keyRouter = std::make_unique<KeyRouter>(
        *m_commandTable, *m_panels, *m_root->commandLine()->field(), *m_shellCommands);
    KeyRouter* router = m_keyRouter.get();
    m_window->onKeyPress
        = [router](const QKeyEvent& event, QObject* receiver) { return router->press(event, receiver); };
    m_window->takesKey
        = [router](const QKeyEvent& event, QObject* receiver) { return router->takes(event, receiver); };
    m_root->funcKeyBar()->onKeyTapped
        = [router](int key) { router->run(QKeyCombination(Qt::Key(Qt::Key_F1 + key - 1))); };
    m_window->onShouldClose = weakly(m_toolCommands.get(), &ToolCommands::quit);
    m_root->menuBar()->onActivate = weakly(this, &MainWindowController::showPulldownMenu);
}

void MainWindowController::showWindow()
{
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    QTimer::singleShot(0, this, [this] {
        m_panels->left().focus();
        placeDivider();
        if (!m_settingsProblem.empty())
            RetroDialogs::message(
                m_window.get(), QStringLiteral("Settings"), ShownText::of(m_settingsProblem));
        lookAtStartPaths();
    });
}

// Beside any job already running: it only looks.
void MainWindowController::lookAtStartPaths()
{
    if (m_startPaths.typed.empty())
        return;
    m_jobs->readBeside<StartPlaceJob>(std::make_shared<StartPlaceJob>(std::move(m_startPaths)),
        weakly(this, [](MainWindowController& controller, StartPlaceJob& looked) {
            controller.goToStartPlaces(looked.places());
        }));
}

// A file asked for is shown in its folder with the cursor on it once listed.
void MainWindowController::goToStartPlaces(const std::vector<StartPlace>& places)
{
    const std::array<PanelViewController*, 2> panels { &m_panels->left(), &m_panels->right() };
    const QString sides[] { QStringLiteral("left"), QStringLiteral("right") };
    for (std::size_t side = 0; side < std::min(places.size(), panels.size()); ++side) {
        const StartPlace& place = places[side];
        const std::string folder = place.problem.empty() ? place.folder : m_fileSystem.homeDirectoryPath();
        panels[side]->goTo(PanelLocation::filesystem(folder), place.cursorName);
        if (!place.problem.empty())
            RetroDialogs::message(m_window.get(), QStringLiteral("Can't Open Folder"),
                ShownText::of(place.problem)
                    + QStringLiteral("\n\nThe %1 panel shows your home folder instead.").arg(sides[side]));
    }
}

std::vector<RetroMenuItem> MainWindowController::pulldownItems(int index) const
{
    // The bar's titles in order: "Left", "Files", "Commands", "Options", "Right".
    using Pulldown = Action::Pulldown;
    static constexpr std::array<Pulldown, 5> menus { Pulldown::panel, Pulldown::files, Pulldown::commands,
        Pulldown::options, Pulldown::panel };
    if (index < 0 || index >= int(menus.size()))
        return {};
    PanelViewController& panel = index == 0 ? m_panels->left()
        : index == 4                        ? m_panels->right()
                                            : m_panels->active();
    std::vector<RetroMenuItem> items = m_commandTable->menuItems(menus[std::size_t(index)], panel);
    // The Left and Right menus end with the panel's tabs, when it has more than one.
    if (menus[std::size_t(index)] == Pulldown::panel) {
        std::vector<RetroMenuItem> tabs = m_tabCommands->menuItems(panel);
        if (!tabs.empty())
            items.push_back(RetroMenuItem::separator());
        items.insert(items.end(), std::make_move_iterator(tabs.begin()), std::make_move_iterator(tabs.end()));
    }
    return items;
}

void MainWindowController::showPulldownMenu(int index, QRectF anchorFrame)
{
    const QPoint below(qRound(anchorFrame.left()), qRound(anchorFrame.bottom()));
    RetroMenu::popUp(pulldownItems(index), below, m_root->menuBar());
    RetroMenuSession* session = RetroMenuSession::current();
    if (!session)
        return;
    // Opened from the keyboard, a pulldown starts on its first entry and Left and Right walk the bar.
    session->panel()->menuView()->moveHighlight(1);
    session->panel()->menuView()->onSideStep
        = weakly(this, [index](MainWindowController& controller, int delta) {
              const int count = int(PulldownMenuBarView::titles().size());
              const int next = (index + delta + count) % count;
              controller.showPulldownMenu(next, controller.m_root->menuBar()->itemFrames()[next]);
          });
}

void MainWindowController::updatePrompt()
{
    m_root->commandLine()->setPromptPath(ShownText::of(m_panels->active().state().location().address()));
}

void MainWindowController::relistAfter(const JobFootprint& footprint)
{
    for (PanelViewController* panel : { &m_panels->left(), &m_panels->right() }) {
        const PanelLocation& location = panel->state().location();
        // Found items lie anywhere below their folder; looking them up again is cheap. A footprint
        // names only paths of this machine: a server's folder is looked at again after any job.
        if (location.isFound() || location.isRemote()
            || (!location.isArchive() && footprint.touchesFolder(location.path())))
            panel->reload();
    }
}

void MainWindowController::tellEnd(const JobOutcome& outcome, bool unwatched)
{
    if (outcome.end == JobOutcome::End::completed)
        return;
    // What the user chose needs no dismissing; a failure, or an end the user did not watch, does.
    if (outcome.byChoice && !unwatched)
        m_panels->active().showNotice(ShownText::of(outcome.summary));
    else
        RetroDialogs::message(m_window.get(), QStringLiteral("Job Ended"), ShownText::of(outcome.summary));
}

void MainWindowController::panelDidBecomeActive(PanelViewController& panel)
{
    if (m_panels->makeActive(panel))
        updatePrompt();
}

void MainWindowController::panelDidChangeLocation(PanelViewController& panel)
{
    if (m_tabCommands)
        m_tabCommands->panelMoved(panel);
    if (&panel == &m_panels->active())
        updatePrompt();
}

void MainWindowController::panelDidOpenFile(PanelViewController&, const std::string& realPath)
{
    // Built from the path's bytes, percent-encoded: text decoded from a name that is not UTF-8
    // would name another file. The opener decodes the URL back to the same bytes.
    if (QDesktopServices::openUrl(
            QUrl::fromEncoded("file://" + QByteArray::fromStdString(realPath).toPercentEncoding("/"))))
        return;
    RetroDialogs::message(m_window.get(), QStringLiteral("Can't Open File"),
        QStringLiteral("No application could be started to open ")
            + ShownText::of(PathString::lastComponent(realPath))
            + QStringLiteral(": the desktop has no opener for files. F3 views the file and F4 edits it."));
}

void MainWindowController::panelWantsDrag(PanelViewController& panel)
{
    m_dragDropCommands->drag(panel);
}

void MainWindowController::panelDidReceiveDrop(
    PanelViewController& panel, const QMimeData& data, bool move, const std::string& folderRow)
{
    m_dragDropCommands->drop(panel, data, move, folderRow);
}

void MainWindowController::panelWantsServer(PanelViewController& panel, const std::string& url)
{
    m_navigationCommands->connect(panel, url);
}

void MainWindowController::panelDidFailWithError(
    PanelViewController& panel, const std::exception& error, const PanelLocation& place)
{
    const bool archive = place.isArchive();
    QString text = ShownText::of(userMessage(error));
    // The panel stays on the server's folder: it offers that server again, never another place.
    const auto* remote = dynamic_cast<const RemoteError*>(&error);
    if (remote && remote->errorCase() == RemoteError::Case::connectionLost
        && panel.state().location().isRemote()) {
        if (RetroDialogs::confirm(
                m_window.get(), QStringLiteral("Connection Lost"), text, QStringLiteral("Reconnect")))
            m_navigationCommands->connect(panel, panel.state().location().address());
        return;
    }
    if (isPermissionRefusal(error))
        text += permissionHint(archive ? QStringLiteral("archive") : QStringLiteral("folder"));
    RetroDialogs::message(m_window.get(),
        archive ? QStringLiteral("Can't Open Archive") : QStringLiteral("Can't Open Folder"), text);
}

} // namespace kiv
