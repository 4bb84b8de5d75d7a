#include "files/TypedPath.h"

#include <gtest/gtest.h>

namespace kiv {

TEST(TypedPathTest, TildeIsHomeAndRelativePathsAreReadInsideTheSourceFolder)
{
    const std::pair<const char*, const char*> cases[] { { "~", "/home/u" }, { "~/x/", "/home/u/x/" },
        { "box", "/src/box" }, { "../up", "/src/../up" }, { "/abs/", "/abs/" }, { "~x", "/src/~x" } };
    for (auto [typed, expected] : cases)
        EXPECT_EQ(TypedPath::absolute(typed, "/src", "/home/u"), expected) << typed;
}

TEST(TypedPathTest, ABareNameRenamesAFolderPathKeepsTheNameAnyOtherPathNamesBoth)
{
    using Destination = TypedPath::Destination;
    const std::pair<const char*, Destination> cases[] { { "new.txt", { "/src", "new.txt" } },
        { "~", { "/home/u", "a.txt" } }, { "~/", { "/home/u/", "a.txt" } },
        { "box/", { "/src/box/", "a.txt" } }, { "box/b.txt", { "/src/box", "b.txt" } },
        { "/dst/c.txt", { "/dst", "c.txt" } }, { "~/d.txt", { "/home/u", "d.txt" } } };
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(TypedPath::destination(typed, "/src", "/home/u", "a.txt"), expected) << typed;
}

} // namespace kiv
