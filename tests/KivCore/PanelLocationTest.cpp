#include "PanelLocation.h"

#include <gtest/gtest.h>

namespace kiv {

TEST(PanelLocationTest, EqualityAndTheDerivedPaths)
{
    auto folder = PanelLocation::filesystem("/data");
    EXPECT_EQ(folder.displayPath(), "/data");
    EXPECT_EQ(folder.nearestRealDirectory(), "/data");
    EXPECT_FALSE(folder.isArchive());

    auto archive = PanelLocation::archive("/data/a.zip", "docs/");
    EXPECT_EQ(archive.displayPath(), "/data/a.zip :: /docs/");
    EXPECT_EQ(archive.nearestRealDirectory(), "/data");
    EXPECT_EQ(PanelLocation::archive("/a.zip", "").nearestRealDirectory(), "/");

    EXPECT_EQ(archive, PanelLocation::archive("/data/a.zip", "docs/"));
    EXPECT_NE(archive, PanelLocation::archive("/data/a.zip", ""));
    EXPECT_NE(archive, PanelLocation::archive("/data/b.zip", "docs/"));
    EXPECT_NE(PanelLocation::archive("/data", ""), folder);
}

} // namespace kiv
