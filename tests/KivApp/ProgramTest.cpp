#include "ProgramTest.h"

#include "panels/PanelTableView.h"
#include "panels/PanelViewController.h"
#include "toolkit/RetroDialogView.h"
#include "toolkit/RetroMenuPanel.h"
#include "toolkit/RetroMenuSession.h"
#include "toolkit/RetroMenuView.h"
#include "window/MainRootView.h"
#include "window/MainWindow.h"
#include "window/PulldownMenuBarView.h"

#include <QApplication>
#include <QTest>
#include <algorithm>

namespace kiv::test {

void ProgramTest::startProgram()
{
    m_scopedHome.emplace("HOME", m_home.path().c_str());
    m_controller = std::make_unique<MainWindowController>();
    m_controller->showWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return left().tableView()->hasFocus(); }));
    QObject::connect(&m_watchdog, &QTimer::timeout, [this] { closeForgottenDialog(); });
    m_watchdog.start(100);
}

void ProgramTest::TearDown()
{
    m_watchdog.stop();
    finishTestDialogs();
    m_controller.reset();
    m_scopedHome.reset();
}

void ProgramTest::showFolder(PanelViewController& panel, const std::string& path)
{
    panel.goTo(path);
}

bool ProgramTest::lists(PanelViewController& panel, const std::string& name)
{
    const auto& rows = panel.state().entries();
    return std::any_of(rows.begin(), rows.end(), [&](const FileEntry& row) { return row.name == name; });
}

void ProgramTest::putCursorOn(PanelViewController& panel, const std::string& name)
{
    const auto& rows = panel.state().entries();
    const auto found
        = std::find_if(rows.begin(), rows.end(), [&](const FileEntry& row) { return row.name == name; });
    ASSERT_NE(found, rows.end()) << name;
    panel.tableView()->moveSelection(int(found - rows.begin()));
}

ShownDialogs ProgramTest::press(std::initializer_list<Qt::Key> keys, std::vector<Answer> answers)
{
    return answering(std::move(answers), [&] {
        for (Qt::Key key : keys)
            QTest::keyClick(active().tableView(), key);
    });
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
    for (int step = 0; step <= row; ++step)
        QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
}

void ProgramTest::runInHome(const std::string& command)
{
    const std::string line = "cd '" + m_home.path() + "' && " + command + " >/dev/null";
    ASSERT_EQ(std::system(line.c_str()), 0) << line;
}

// Fails the test on a dialog that stays open unanswered for 3 s, and closes it.
void ProgramTest::closeForgottenDialog()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != m_lastModal) {
        m_lastModal = modal;
        m_modalTicks = 0;
    } else if (modal && ++m_modalTicks > 30) {
        const auto* view = modal->findChild<RetroDialogView*>();
        ADD_FAILURE() << "unexpected dialog: " << (view ? view->titleText().toStdString() : "?");
        modal->close();
    }
}

} // namespace kiv::test
