#include "window/AppDelegate.h"
#include "ScopedHome.h"
#include "TempDir.h"
#include "panels/PanelPair.h"
#include "panels/PanelTableView.h"
#include "panels/PanelViewController.h"
#include "window/MainWindow.h"
#include "window/MainWindowController.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace kiv;

TEST(AppDelegateTest, LaunchingShowsTheWindowWithTheLeftPanelFocusedAndCtrlHMinimisesIt)
{
    kiv::test::TempDir home;
    kiv::test::ScopedHome scopedHome(home.path());
    {
        AppDelegate delegate;
        EXPECT_EQ(delegate.windowController(), nullptr);
        delegate.showAboutTavrin(); // nothing to show it in yet
        delegate.applicationDidFinishLaunching();
        ASSERT_NE(delegate.windowController(), nullptr);
        MainWindow& window = delegate.windowController()->window();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        PanelTableView* leftList = delegate.windowController()->panels().left().tableView();
        EXPECT_TRUE(QTest::qWaitFor([&] { return leftList->hasFocus(); }));
#ifndef Q_OS_MACOS
        QTest::keyClick(leftList, Qt::Key_H, Qt::ControlModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.isMinimized(); }));
#endif
    }
}
