#include "window/AppDelegate.h"
#include "ProgramTest.h"
#include "archives/ArchiveMemberCopy.h"

using namespace kiv;

TEST(AppDelegateTest, LaunchingShowsTheWindowWithTheLeftPanelFocusedAndCtrlHMinimisesItAndEndingTidiesUp)
{
    kiv::test::TempDir home;
    kiv::test::ScopedEnvironment scopedHome("HOME", home.path().c_str());
    home.write("a.txt", "x");
    home.run("tar -czf pack.tgz a.txt");
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
        copy = ArchiveMemberCopy::make({}, home / "pack.tgz", "a.txt");
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(copy).parent_path()))
        << "the program ended and left its copy of an archive member";
}
