#pragma once

#include "MainWindowController.h"
#include "ScopedHome.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>

namespace kiv {
class MainRootView;
class MainWindow;
class PanelViewController;
struct FileEntry;
} // namespace kiv

namespace kiv::test {

// The whole program over a home folder of the test's own. A fixture fills `m_home`, then calls
// startProgram() from its SetUp; menus left open are ended and HOME restored after each test.
class ProgramTest : public ::testing::Test
{
protected:
    // Points HOME at `m_home`, builds and shows the window, and waits for the left panel's focus.
    void startProgram();
    void TearDown() override;

    MainWindow& window() { return m_controller->window(); }
    MainRootView& root() { return m_controller->root(); }
    PanelViewController& left() { return m_controller->leftPanel(); }
    PanelViewController& right() { return m_controller->rightPanel(); }
    PanelViewController& active() { return m_controller->activePanel(); }

    // Takes `panel` to the folder `path` and lists it.
    static void showFolder(PanelViewController& panel, const std::string& path);
    // True when `panel` lists a row named `name`.
    static bool lists(PanelViewController& panel, const std::string& name);
    // The row named `name` in `panel` (a test failure, and the first row, when there is none).
    static const FileEntry& rowNamed(PanelViewController& panel, const std::string& name);

    TempDir m_home;
    std::unique_ptr<MainWindowController> m_controller;

private:
    std::optional<ScopedHome> m_scopedHome;
};

} // namespace kiv::test
