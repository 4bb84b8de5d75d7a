#include "files/TransferCheck.h"

#include <gtest/gtest.h>

using namespace kiv;

TEST(TransferCheckTest, ItemsAlreadyThereAndFoldersIntoThemselvesAreRefusedOthersGo)
{
    using Sources = std::vector<std::string>;
    EXPECT_EQ(
        TransferCheck::refusal({ "/home/me/a.txt" }, "/home/me", "copy"), "a.txt is already in /home/me.");
    // Spelled another way, the folder is still the item's own.
    EXPECT_EQ(TransferCheck::refusal({ "/home/me/./a.txt" }, "/home/me/src/../", "move"),
        "a.txt is already in /home/me.");
    EXPECT_EQ(TransferCheck::refusal({ "/home/me/src" }, "/home/me/src", "move"),
        "Cannot move the folder /home/me/src into itself or into one of its own subfolders.");
    EXPECT_EQ(TransferCheck::refusal({ "/tmp/x", "/home/me/src" }, "/home/me/src/deep/er", "copy"),
        "Cannot copy the folder /home/me/src into itself or into one of its own subfolders.");
    EXPECT_EQ(TransferCheck::refusal({ "/" }, "/tmp", "copy"),
        "Cannot copy the folder / into itself or into one of its own subfolders.");

    // A name that only starts like the source's is another folder; a parent is another place.
    EXPECT_FALSE(TransferCheck::refusal({ "/home/me/src" }, "/home/me/src2", "copy"));
    EXPECT_FALSE(TransferCheck::refusal(Sources { "/home/me/src/a.txt", "/home/me/b" }, "/", "move"));
    EXPECT_FALSE(TransferCheck::refusal({ "/home/me/src/deep" }, "/home/me", "move"));
}
