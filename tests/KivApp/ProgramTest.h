#pragma once

#include "ScopedHome.h"
#include "TempDir.h"
#include "panels/PanelPair.h"
#include "window/MainWindowController.h"

#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kiv {
class MainRootView;
class MainWindow;
class PanelViewController;
struct FileEntry;
} // namespace kiv

namespace kiv::test {

// What one dialog showed: its title, message, text field, OK button's label and whether it can be
// cancelled.
struct ShownDialog
{
    std::string title;
    std::string message;
    std::string field;
    std::string okLabel;
    bool hasCancel = false;

    bool operator==(const ShownDialog&) const = default;
};
using ShownDialogs = std::vector<ShownDialog>;

// Prints `dialog` in failure messages.
void PrintTo(const ShownDialog& dialog, std::ostream* out);
// A prompt: a field filled with `field`, OK and Cancel.
ShownDialog prompt(const std::string& title, const std::string& message, const std::string& field);
// A question: OK (labelled `okLabel`) and Cancel.
ShownDialog question(
    const std::string& title, const std::string& message, const std::string& okLabel = "[ OK ]");
// A message with only OK.
ShownDialog notice(const std::string& title, const std::string& message);

// How one dialog is answered: its field's text replaced by `typed` when set, then `key` pressed.
struct Answer
{
    Qt::Key key = Qt::Key_Return;
    std::optional<QString> typed;
};
// Return (OK), or Escape (Cancel), pressed on a dialog.
inline const Answer ok {};
inline const Answer no { Qt::Key_Escape, {} };
// Answers a prompt with `text`.
inline Answer typing(const std::string& text)
{
    return { Qt::Key_Return, QString::fromStdString(text) };
}

// The whole program over a home folder of the test's own. A fixture fills `m_home`, then calls
// startProgram() from its SetUp; HOME is restored after each test. A dialog that nobody answers,
// an answer that finds no dialog and a menu left open fail the test instead of hanging it or the
// tests after it.
class ProgramTest : public ::testing::Test
{
protected:
    // Points HOME at `m_home`, builds and shows the window, and waits for the left panel's focus.
    void startProgram();
    void TearDown() override;

    MainWindow& window() { return m_controller->window(); }
    MainRootView& root() { return m_controller->root(); }
    PanelViewController& left() { return m_controller->panels().left(); }
    PanelViewController& right() { return m_controller->panels().right(); }
    PanelViewController& active() { return m_controller->panels().active(); }

    // Takes `panel` to the folder `path` and lists it.
    static void showFolder(PanelViewController& panel, const std::string& path);
    // True when `panel` lists a row named `name`.
    static bool lists(PanelViewController& panel, const std::string& name);
    // The row named `name` in `panel` (a test failure, and the first row, when there is none).
    static const FileEntry& rowNamed(PanelViewController& panel, const std::string& name);
    // Puts `panel`'s cursor on the row named `name`.
    static void putCursorOn(PanelViewController& panel, const std::string& name);

    // Presses `key` in the active panel's list.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Runs `action`, answering the dialogs it shows with `answers` in order; returns what they showed.
    static ShownDialogs answering(std::vector<Answer> answers, const std::function<void()>& action);
    // Presses `keys` in the active panel's list, answering their dialogs as answering() does.
    ShownDialogs pressAnswering(std::initializer_list<Qt::Key> keys, std::vector<Answer> answers);
    // The same for one key.
    ShownDialogs pressAnswering(Qt::Key key, std::vector<Answer> answers)
    {
        return pressAnswering({ key }, answers);
    }

    // Opens pulldown `menu` of the menu bar with a click and chooses its entry `row` by keys.
    void chooseFromPulldown(int menu, int row);
    // Chooses entry `row` (counted from 0, separators skipped) of the open menu by keys.
    static void chooseFromOpenMenu(int row);

    // Runs the shell `command` in the home folder, e.g. to build an archive.
    void runInHome(const std::string& command);
    // Removes the "kiv-mac-" temporary folder holding `path` (a test failure when none does).
    static void removeTemporaryCopy(const std::string& path);

    TempDir m_home;
    std::unique_ptr<MainWindowController> m_controller;

private:
    void closeForgottenDialog();

    std::optional<ScopedHome> m_scopedHome;
    QTimer m_watchdog;
    QPointer<QWidget> m_lastModal;
    int m_modalTicks = 0;
};

} // namespace kiv::test
