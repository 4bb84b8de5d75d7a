#include "shell/CommandHistory.h"

#include <gtest/gtest.h>

using namespace kiv;
using Lines = std::vector<std::string>;

TEST(CommandHistoryTest, BrowsingKeepsTheTypedLineAndRepeatsMoveToTheNewestPlace)
{
    CommandHistory history;
    EXPECT_EQ(history.older("typed"), std::nullopt);
    for (const char* line : { "make", "ls", "make" })
        history.add(line);
    EXPECT_EQ(history.lines(), (Lines { "ls", "make" }));
    EXPECT_EQ(history.newer(), std::nullopt) << "not browsing";
    EXPECT_EQ(history.older("git st"), "make");
    EXPECT_EQ(history.older("make"), "ls");
    EXPECT_EQ(history.older("ls"), std::nullopt);
    EXPECT_EQ(history.newer(), "make");
    EXPECT_EQ(history.newer(), "git st");
    EXPECT_EQ(history.newer(), std::nullopt);

    history.restore(Lines(CommandHistory::capacity + 5, "x"));
    EXPECT_EQ(history.lines().size(), CommandHistory::capacity);
}
