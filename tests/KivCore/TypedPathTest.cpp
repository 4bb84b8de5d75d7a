#include "files/TypedPath.h"

#include <gtest/gtest.h>

using namespace kiv;

TEST(TypedPathTest, ABareNameRenamesInPlaceAFolderPathKeepsTheNameAndAnyOtherPathNamesBoth)
{
    using Destination = TypedPath::Destination;
    const std::pair<const char*, Destination> cases[] { { "new.txt", { "/src", "new.txt" } },
        { "~x", { "/src", "~x" } }, { "~", { "/home/u", "a.txt" } }, { "~/", { "/home/u/", "a.txt" } },
        { "box/", { "/src/box/", "a.txt" } }, { "box/b.txt", { "/src/box", "b.txt" } },
        { "../c.txt", { "/src/..", "c.txt" } }, { "/dst/d.txt", { "/dst", "d.txt" } },
        { "~/e.txt", { "/home/u", "e.txt" } } };
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(TypedPath::destination(typed, "/src", "/home/u", "a.txt"), expected) << typed;
    EXPECT_EQ(TypedPath::absolute("~/x/", "/src", "/home/u"), "/home/u/x/");
}
