#include "ProgramTest.h"

#include "MainWindow.h"
#include "PanelTableView.h"
#include "PanelViewController.h"
#include "RetroMenuSession.h"

#include <QTest>
#include <algorithm>

namespace kiv::test {

void ProgramTest::startProgram()
{
    m_scopedHome.emplace(m_home.path());
    m_controller = std::make_unique<MainWindowController>();
    m_controller->showWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return left().tableView()->hasFocus(); }));
}

void ProgramTest::TearDown()
{
    if (RetroMenuSession* open = RetroMenuSession::current())
        open->end(nullptr);
    m_controller.reset();
    m_scopedHome.reset();
}

void ProgramTest::showFolder(PanelViewController& panel, const std::string& path)
{
    panel.state().jump(path);
    panel.reload();
}

bool ProgramTest::lists(PanelViewController& panel, const std::string& name)
{
    const auto& rows = panel.state().entries();
    return std::any_of(rows.begin(), rows.end(), [&](const FileEntry& row) { return row.name == name; });
}

const FileEntry& ProgramTest::rowNamed(PanelViewController& panel, const std::string& name)
{
    const auto& rows = panel.state().entries();
    const auto found
        = std::find_if(rows.begin(), rows.end(), [&](const FileEntry& row) { return row.name == name; });
    EXPECT_NE(found, rows.end()) << name;
    return found == rows.end() ? rows.front() : *found;
}

} // namespace kiv::test
