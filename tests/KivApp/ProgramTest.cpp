#include "ProgramTest.h"

#include "files/TemporaryCopy.h"
#include "jobscreen/JobRunner.h"
#include "toolkit/RetroMenuPanel.h"
#include "toolkit/RetroMenuSession.h"
#include "toolkit/RetroMenuView.h"
#include "window/PulldownMenuBarView.h"

#include <algorithm>

namespace kiv::test {

void ProgramTest::startProgram()
{
    m_controller = std::make_unique<MainWindowController>();
    m_controller->showWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return left().tableView()->hasFocus(); }));
    waitForJobs(); // the panels' first listings
}

void ProgramTest::TearDown()
{
    finishTestDialogs(); // while the window that owns them is still there
    m_controller.reset();
    TemporaryCopy::removeUnused(); // as the program does when it ends
}

int ProgramTest::rowOf(PanelViewController& panel, const std::string& name)
{
    const auto& rows = panel.state().entries();
    const auto found
        = std::find_if(rows.begin(), rows.end(), [&](const FileEntry& row) { return row.name == name; });
    return found == rows.end() ? -1 : int(found - rows.begin());
}

ShownDialogs ProgramTest::press(std::initializer_list<Qt::Key> keys, std::vector<Answer> answers)
{
    ShownDialogs shown = answering(std::move(answers), [&] {
        for (Qt::Key key : keys)
            QTest::keyClick(active().tableView(), key);
    });
    waitForJobs();
    return shown;
}

void ProgramTest::goToServer(const std::string& url)
{
    answering({ typing(url) }, [&] {
        QTest::keyClick(active().tableView(), Qt::Key_G, Qt::ControlModifier);
        waitForJobs();
    });
    EXPECT_EQ(active().state().location().displayPath(), url) << "the panel did not reach the server";
}

void ProgramTest::waitForJobs()
{
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return m_controller->jobs().isIdle() && !left().isListing() && !right().isListing(); }, 10000))
        << "a job or a listing did not end";
}

void ProgramTest::chooseFromPulldown(int menu, int row)
{
    const QRectF title = root().menuBar()->itemFrames().at(menu);
    QTest::mouseClick(root().menuBar(), Qt::LeftButton, {}, title.center().toPoint());
    chooseFromOpenMenu(row);
}

void ProgramTest::chooseFromOpenMenu(int row)
{
    ASSERT_NE(RetroMenuSession::current(), nullptr);
    RetroMenuView* menu = RetroMenuSession::current()->panel()->menuView();
    // Pulldowns open on their first entry, the user menu on none.
    for (int step = menu->highlightedRow() ? 1 : 0; step <= row; ++step)
        QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    waitForJobs();
}

} // namespace kiv::test
