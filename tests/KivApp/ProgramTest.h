#pragma once

#include "DialogDriver.h"
#include "ScopedEnvironment.h"
#include "TempDir.h"
#include "panels/PanelFrameView.h"
#include "panels/PanelPair.h"
#include "panels/PanelTableView.h"
#include "panels/PanelViewController.h"
#include "window/MainRootView.h"
#include "window/MainWindow.h"
#include "window/MainWindowController.h"

#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace kiv::test {

// The whole program over a home folder of the test's own, HOME pointing there for the test (and
// the trash inside it). A
// fixture fills `m_home`, then calls startProgram() from its SetUp. A dialog that nobody answers,
// an answer that finds no dialog and a menu left open fail the test (see DialogDriver.h).
class ProgramTest : public ::testing::Test
{
protected:
    // Builds and shows the window and waits for the left panel's focus and the first listings.
    void startProgram();
    void TearDown() override;

    MainWindow& window() { return m_controller->window(); }
    MainRootView& root() { return m_controller->root(); }
    PanelViewController& left() { return m_controller->panels().left(); }
    PanelViewController& right() { return m_controller->panels().right(); }
    PanelViewController& active() { return m_controller->panels().active(); }

    // The row of `panel` named `name`, or -1.
    static int rowOf(PanelViewController& panel, const std::string& name);
    // True when `panel` lists a row named `name`.
    static bool lists(PanelViewController& panel, const std::string& name) { return rowOf(panel, name) >= 0; }
    // Puts `panel`'s cursor on the row named `name` (a test failure when there is none).
    static void putCursorOn(PanelViewController& panel, const std::string& name)
    {
        ASSERT_GE(rowOf(panel, name), 0) << name;
        panel.tableView()->moveSelection(rowOf(panel, name));
    }

    // Waits until no job runs or waits and neither panel is listing (the panels the jobs changed
    // are relisted, a move has arrived).
    void waitForJobs();
    // Takes the active panel to the sftp:// `url` with Ctrl+G, waits for its listing and checks the
    // panel stands there.
    void goToServer(const std::string& url);
    // Presses `keys` in the active panel's list, answering their dialogs as answering() does,
    // then waits for the jobs they started.
    ShownDialogs press(std::initializer_list<Qt::Key> keys, std::vector<Answer> answers = {});
    ShownDialogs press(Qt::Key key, std::vector<Answer> answers = {}) { return press({ key }, answers); }

    // Opens pulldown `menu` of the menu bar with a click and chooses its entry `row` by keys.
    void chooseFromPulldown(int menu, int row);
    // Chooses entry `row` (counted from 0, separators skipped) of the open menu by keys and waits
    // for the jobs and listings it started.
    void chooseFromOpenMenu(int row);

    TempDir m_home;
    ScopedEnvironment m_scopedHome { "HOME", m_home.path().c_str() };
    ScopedEnvironment m_scopedData { "XDG_DATA_HOME", nullptr };
    ScopedEnvironment m_defaultConfigFolder { "XDG_CONFIG_HOME", nullptr };
    std::unique_ptr<MainWindowController> m_controller;
};

} // namespace kiv::test
