#include "panel/FolderHistory.h"

#include <gtest/gtest.h>

using namespace kiv;
using Folders = std::vector<std::string>;

TEST(FolderHistoryTest, BackAndForwardLikeABrowserWithinItsCapacity)
{
    FolderHistory history;
    EXPECT_EQ(history.back(), std::nullopt);
    for (const char* folder : { "/a", "/b", "/b", "/c" })
        history.visit(folder);
    EXPECT_EQ(history.back(), "/b");
    EXPECT_EQ(history.back(), "/a");
    EXPECT_EQ(history.back(), std::nullopt);
    EXPECT_EQ(history.forward(), "/b");
    history.visit("/b"); // arriving where the step led records nothing
    EXPECT_EQ(history.forward(), "/c");
    EXPECT_EQ(history.forward(), std::nullopt);
    history.back();
    history.visit("/d"); // a new way drops what lay ahead
    EXPECT_EQ(history.folders(), (Folders { "/a", "/b", "/d" }));
    EXPECT_EQ(history.forward(), std::nullopt);

    for (std::size_t i = 0; i < FolderHistory::capacity; ++i)
        history.visit(std::string("/").append(std::to_string(i)));
    EXPECT_EQ(history.folders().size(), FolderHistory::capacity);
    EXPECT_EQ(history.folders().front(), "/0");
}
