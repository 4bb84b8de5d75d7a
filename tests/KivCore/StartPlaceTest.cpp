#include "settings/StartPlace.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using namespace kiv;
using kiv::test::TempDir;

TEST(StartPlaceTest, AFolderOpensItselfAndAnythingElseThatIsThereOpensItsFolderWithTheCursorOnIt)
{
    TempDir scratch;
    const std::string docs = scratch.folder("docs");
    scratch.write("docs/a.txt");
    ::symlink("nowhere", (scratch / "docs/dangling").c_str());
    ::symlink(docs.c_str(), (scratch / "docs-link").c_str());

    EXPECT_EQ(StartPlace::of(docs, "/"), (StartPlace { docs, "", "" }));
    EXPECT_EQ(StartPlace::of("docs/", scratch.path()), (StartPlace { docs, "", "" }));
    EXPECT_EQ(StartPlace::of("./docs/../docs", scratch.path()), (StartPlace { docs, "", "" }));
    EXPECT_EQ(StartPlace::of("docs-link", scratch.path()), (StartPlace { scratch / "docs-link", "", "" }));
    EXPECT_EQ(StartPlace::of("docs/a.txt", scratch.path()), (StartPlace { docs, "a.txt", "" }));
    EXPECT_EQ(StartPlace::of(docs + "/dangling", "/"), (StartPlace { docs, "dangling", "" }));
    EXPECT_EQ(StartPlace::of("/", "/tmp"), (StartPlace { "/", "", "" }));
    // A shell hands "~" over unexpanded only when it was quoted: then it is a name like any other.
    scratch.folder("~");
    EXPECT_EQ(StartPlace::of("~", scratch.path()), (StartPlace { scratch / "~", "", "" }));
}

TEST(StartPlaceTest, APathThatIsNotThereOrCannotBeOpenedGivesHomeAndSaysWhy)
{
    TempDir scratch;
    const std::string file = scratch.write("a.txt");
    EXPECT_EQ(StartPlace::of("gone", scratch.path()),
        (StartPlace { "", "", "No such file or directory: " + scratch / "gone" }));
    EXPECT_EQ(StartPlace::of(file + "/x", "/"), (StartPlace { "", "", "Not a directory: " + file + "/x" }));
    EXPECT_EQ(StartPlace::of("", scratch.path()).problem, "No such file or directory");
    if (!kiv::test::permissionBitsBind(scratch))
        GTEST_SKIP() << "permission bits do not bind for this user";
    const std::string locked = scratch.folder("locked");
    scratch.write("locked/inside.txt");
    ::chmod(locked.c_str(), 0);
    EXPECT_EQ(StartPlace::of(locked, "/"), (StartPlace { "", "", "Permission denied: " + locked }));
    ::chmod(locked.c_str(), 0100); // may be passed through, not listed
    EXPECT_EQ(
        StartPlace::of(locked + "/inside.txt", "/"), (StartPlace { "", "", "Permission denied: " + locked }));
}
