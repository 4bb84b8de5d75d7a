#include "files/DiskItem.h"

#include "TempDir.h"

#include <gtest/gtest.h>

namespace kiv {

TEST(DiskItemTest, ALinkIsItselfOrItsTargetAsAskedAndNothingIsNeverTheSame)
{
    test::TempDir dir;
    const std::string folder = dir.folder("box");
    ASSERT_EQ(::symlink(folder.c_str(), (dir / "link").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "nowhere").c_str(), (dir / "dangling").c_str()), 0);
    using DiskItem::Link;
    EXPECT_TRUE(DiskItem::isSame(folder + "/", dir / "box/../box", Link::itself));
    EXPECT_TRUE(DiskItem::isSame(dir / "link", folder, Link::target));
    EXPECT_FALSE(DiskItem::isSame(dir / "link", folder, Link::itself));
    EXPECT_FALSE(DiskItem::isSame(dir / "nowhere", dir / "nowhere", Link::itself));
    EXPECT_TRUE(DiskItem::isRealFolder(folder));
    EXPECT_FALSE(DiskItem::isRealFolder(dir / "link"));
    EXPECT_TRUE(DiskItem::exists(dir / "dangling"));
    EXPECT_FALSE(DiskItem::exists(dir / "nowhere"));
}

} // namespace kiv
