#include "attributes/LinkText.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using namespace kiv;
using namespace kiv::test;

TEST(LinkTextTest, TheWayBetweenTwoFoldersClimbsOnlyAsFarAsTheyDiffer)
{
    EXPECT_EQ(LinkText::relativePath("/a/b", "/a/b"), ".");
    EXPECT_EQ(LinkText::relativePath("/a/b", "/a/c/d"), "../c/d");
    EXPECT_EQ(LinkText::relativePath("/a/b/c", "/a"), "../..");
    EXPECT_EQ(LinkText::relativePath("/", "/x"), "x");
    EXPECT_EQ(LinkText::relativePath("/x/y", "/"), "../..");
    // Components are compared whole: "/ab" is no part of "/a".
    EXPECT_EQ(LinkText::relativePath("/a", "/ab"), "../ab");
}

TEST(LinkTextTest, ARelativeLinkReachesItsTargetThroughLinkedFolders)
{
    TempDir dir;
    dir.write("target.txt", "found");
    dir.write("deep/er/keep", "");
    std::filesystem::create_directory_symlink(dir / "deep/er", dir / "alias");
    // Counted by the path as it reads, "../target.txt" would lead to deep/target.txt.
    const std::string text = LinkText::toward(dir / "target.txt", dir / "alias", LinkText::Form::relative);
    EXPECT_EQ(text, "../../target.txt");
    std::filesystem::create_symlink(text, dir / "alias/link");
    EXPECT_EQ(readFile(dir / "alias/link"), "found");
    // The target itself stays a name: a link to a link is not a link to what that points to.
    std::filesystem::create_symlink("target.txt", dir / "second");
    EXPECT_EQ(LinkText::toward(dir / "second", dir.path(), LinkText::Form::relative), "second");
    EXPECT_EQ(LinkText::toward(dir / "second", dir / "alias", LinkText::Form::absolute), dir / "second");
    EXPECT_THROW(LinkText::toward(dir / "gone/x", dir.path(), LinkText::Form::relative), std::exception);
}
