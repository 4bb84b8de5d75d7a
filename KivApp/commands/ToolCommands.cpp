#include "commands/ToolCommands.h"

#include "console/CommandLineBar.h"
#include "console/CommandLineField.h"
#include "console/ConsoleOutputView.h"
#include "panel/DirectoryComparer.h"
#include "window/MainRootView.h"
#include "window/MainWindow.h"
#include "window/MainWindowController.h"
#include "panels/PanelTableView.h"
#include "panels/PanelViewController.h"
#include "files/PathString.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/RetroMenu.h"
#include "shell/UserMenuStore.h"

#include <QPointer>
#include <exception>

namespace kiv {

namespace {

// The user menu hangs from this point, measured from the content's left and bottom edges, so
// it covers the lower part of the panels, the command line and the key bar at any window size.
constexpr int userMenuLeft = 20;
constexpr int userMenuAboveBottom = 60;

// The blanks line the columns up in the fixed-pitch font.
const QString& helpText()
{
    static const QString text
        = QStringLiteral("F1  Help            F2  User Menu        F3  View\n"
                         "F4  Edit            F5  Copy             F6  Move / Rename\n"
                         "F7  Make Directory  F8  Delete           F9  Pulldown Menu\n"
                         "F10 Quit\n"
                         "\n"
                         "Tab             Switch active panel\n"
                         "Space           Mark / unmark file\n"
                         "Return          Open directory, archive, or file\n"
                         "Delete/Backspace  Go to parent directory (\"..\")\n"
                         "Return (cmd line) Run a shell command in the active panel's folder\n"
                         "\n"
                         "Archives (.zip, .tar, .tar.gz, .tgz) can be entered like folders;\n"
                         "use Copy (F5) to extract marked items into the other panel.");
    return text;
}

const QString& aboutText()
{
    static const QString text = QStringLiteral(
        "Tavrin is a dual-pane file manager for the keyboard, drawn in the blue text-mode look of "
        "classic console programs: two folders side by side, a command line below them and the "
        "function keys along the bottom.\n"
        "\n"
        "Mark files with Space, then copy, move, rename or delete them between the panels with "
        "the function keys. Archives open like folders, and the output of shell commands and of "
        "your own user menu (F2) fills the whole window until you press a key.\n"
        "\n"
        "Press F1 for the keys.");
    return text;
}

// Paths and commands hold UTF-8 bytes; they are decoded only to be shown.
QString shownText(const std::string& bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

// Wraps `command` so that it runs only while the controller still exists.
std::function<void()> heldWeakly(
    MainWindowController& controller, std::function<void(MainWindowController&)> command)
{
    return [controller = QPointer<MainWindowController>(&controller), command = std::move(command)] {
        if (controller)
            command(*controller);
    };
}

} // namespace

ToolCommands::ToolCommands(MainWindowController& controller)
    : m_controller(controller)
{
}

void ToolCommands::showHelp()
{
    RetroDialogs::message(&m_controller.window(), QStringLiteral("Tavrin - Help"), helpText());
}

void ToolCommands::showUserMenu()
{
    std::vector<RetroMenuItem> items;
    for (const UserMenuItem& entry : UserMenuStore::load()) {
        const QString title = shownText(entry.hotkey) + QStringLiteral("  ") + shownText(entry.label);
        items.push_back(
            RetroMenuItem::item(title, heldWeakly(m_controller, [entry](MainWindowController& owner) {
                owner.runUserMenuItem(entry);
            })));
    }
    if (!items.empty())
        items.push_back(RetroMenuItem::separator());
    items.push_back(RetroMenuItem::item(QStringLiteral("Edit menu file..."),
        heldWeakly(m_controller, [](MainWindowController& owner) { owner.editUserMenuFile(); })));
    MainRootView& root = m_controller.root();
    RetroMenu::popUp(std::move(items), QPoint(userMenuLeft, root.height() - userMenuAboveBottom), &root);
}

void ToolCommands::runUserMenuItem(const UserMenuItem& item)
{
    runInWorkingFolder(item.command);
}

void ToolCommands::editUserMenuFile()
{
    UserMenuStore::load(); // only so that the file exists before the editor opens it
    m_controller.presentInlineEditor(UserMenuStore::menuFileURL());
}

void ToolCommands::submitCommandLine()
{
    CommandLineField* field = m_controller.root().commandLine()->field();
    const QString line = field->text();
    field->clear();
    if (line.isEmpty()) {
        m_controller.activePanel().tableView()->setFocus();
        return;
    }
    runInWorkingFolder(line.toStdString());
}

void ToolCommands::runInWorkingFolder(const std::string& command)
{
    const std::string folder = m_controller.activePanel().state().location().nearestRealDirectory();
    const ShellRunner::Result result = ShellRunner::runShellLine(command, folder);
    reloadBothPanels(); // the command may have changed files either panel shows
    m_controller.presentConsoleOutput(shownText(folder), shownText(command), result);
}

void ToolCommands::presentConsoleOutput(
    const QString& promptPath, const QString& command, const ShellRunner::Result& result)
{
    removeConsoleOutput();
    auto* view = new ConsoleOutputView(promptPath, command, result);
    view->onDismiss
        = heldWeakly(m_controller, [](MainWindowController& owner) { owner.dismissConsoleOutput(); });
    m_controller.root().showOverlay(view);
    m_controller.setConsoleOutputView(view);
    view->setFocus();
}

void ToolCommands::dismissConsoleOutput()
{
    // The panel takes the focus while the console is still shown, so the focus never passes
    // through whatever widget Qt would pick when a focused widget hides.
    m_controller.activePanel().tableView()->setFocus();
    removeConsoleOutput();
}

void ToolCommands::removeConsoleOutput()
{
    ConsoleOutputView* view = m_controller.consoleOutputView();
    m_controller.setConsoleOutputView(nullptr);
    if (!view)
        return;
    view->hide();
    // The console may be in the middle of the very key or click event that dismissed it.
    view->deleteLater();
}

void ToolCommands::menuExtractArchive()
{
    PanelViewController& active = m_controller.activePanel();
    const std::optional<FileEntry> entry = active.selectedEntry();
    if (!entry || entry->kind != FileEntry::Kind::archive) {
        tellAboutExtraction(QStringLiteral("Select a .zip/.tar/.tar.gz/.tgz file first."));
        return;
    }
    const PanelLocation& here = active.state().location();
    if (here.isArchive()) {
        tellAboutExtraction(QStringLiteral(
            "An archive inside an archive can't be extracted here. Copy it out with F5 first."));
        return;
    }
    const PanelLocation& there = m_controller.otherPanel(active).state().location();
    if (there.isArchive()) {
        tellAboutExtraction(QStringLiteral("The other panel needs to be on a real folder."));
        return;
    }
    try {
        m_controller.archiveService().extractAll(
            PathString::appendingComponent(here.path(), entry->name), there.path());
    } catch (const std::exception& error) {
        // A refused extraction may still have placed every member that was not in the way.
        reloadBothPanels();
        RetroDialogs::error(&m_controller.window(), error);
        return;
    }
    reloadBothPanels(); // both, in case the two panels show the same folder
}

void ToolCommands::tellAboutExtraction(const QString& text)
{
    RetroDialogs::message(&m_controller.window(), QStringLiteral("Extract Archive"), text);
}

void ToolCommands::menuCompare()
{
    PanelViewController& left = m_controller.leftPanel();
    PanelViewController& right = m_controller.rightPanel();
    reloadBothPanels(); // compare what is on disk now, not what was there at the last listing
    const DirectoryComparer::Result result
        = DirectoryComparer::compare(left.state().entries(), right.state().entries());
    left.state().setMarkedNames({ result.leftDifferent.begin(), result.leftDifferent.end() });
    right.state().setMarkedNames({ result.rightDifferent.begin(), result.rightDifferent.end() });
    reloadBothPanels();
    RetroDialogs::message(&m_controller.window(), QStringLiteral("Compare Directories"),
        QStringLiteral("%1 item(s) marked on the left, %2 on the right.")
            .arg(result.leftDifferent.size())
            .arg(result.rightDifferent.size()));
}

void ToolCommands::showAbout()
{
    RetroDialogs::message(&m_controller.window(), QStringLiteral("Tavrin"), aboutText());
}

void ToolCommands::reloadBothPanels()
{
    m_controller.leftPanel().reload();
    m_controller.rightPanel().reload();
}

} // namespace kiv
