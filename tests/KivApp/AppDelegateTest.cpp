#include "window/AppDelegate.h"
#include "ProgramTest.h"
#include "files/TemporaryCopy.h"

using namespace kiv;

TEST(AppDelegateTest, LaunchingShowsTheWindowWithTheLeftPanelFocusedAndCtrlHMinimisesItAndEndingTidiesUp)
{
    kiv::test::TempDir home;
    kiv::test::ScopedEnvironment scopedHome("HOME", home.path().c_str());
    std::string copy;
    {
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
        copy = TemporaryCopy::newFolder(); // as a fetch for the viewer makes it
        std::filesystem::create_directory(copy);
    }
    EXPECT_FALSE(std::filesystem::exists(copy)) << "the program ended and left its copy of a file";
}
