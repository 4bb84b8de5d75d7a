#include "window/AppDelegate.h"
#include "ProgramTest.h"

using namespace kiv;

TEST(AppDelegateTest, LaunchingShowsTheWindowWithTheLeftPanelFocusedAndCtrlHMinimisesIt)
{
    kiv::test::TempDir home;
    kiv::test::ScopedEnvironment scopedHome("HOME", home.path().c_str());
    AppDelegate delegate;
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
