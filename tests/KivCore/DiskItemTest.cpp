#include "files/DiskItem.h"

#include "TempDir.h"

using namespace kiv;
using namespace kiv::test;

TEST(DiskItemTest, ALinkIsItselfOrItsTargetAsAskedAndADanglingOneStillExists)
{
    test::TempDir dir;
    const std::string folder = dir.folder("box");
    ASSERT_EQ(::symlink(folder.c_str(), (dir / "link").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "nowhere").c_str(), (dir / "dangling").c_str()), 0);
    EXPECT_TRUE(DiskItem::isSame(dir / "link", folder + "/", DiskItem::Link::target));
    EXPECT_FALSE(DiskItem::isSame(dir / "link", folder, DiskItem::Link::itself));
    EXPECT_FALSE(DiskItem::isRealFolder(dir / "link"));
    EXPECT_TRUE(DiskItem::exists(dir / "dangling"));
}
