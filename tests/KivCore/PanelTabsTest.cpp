#include "settings/PanelTabs.h"

#include <gtest/gtest.h>

using namespace kiv;

namespace {

PanelSettings on(const std::string& folder)
{
    return { folder, false, {}, { folder } };
}

std::vector<std::string> folders(const PanelTabs& tabs)
{
    std::vector<std::string> found;
    for (std::size_t index = 0; index < tabs.count(); ++index)
        found.push_back(tabs.tab(index).folder);
    return found;
}

} // namespace

TEST(PanelTabsTest, TabsOpenBesideTheShownOneCloseToTheNextAndTheLastStays)
{
    PanelTabs tabs(on("/a"));
    EXPECT_FALSE(tabs.closeShown());
    tabs.open();
    EXPECT_EQ(folders(tabs), (std::vector<std::string> { "/a", "/a" }));
    EXPECT_EQ(tabs.shownIndex(), 1u);
    tabs.keepShown({ "/b", true, { SortOrder::Key::size }, { "/a", "/b" } });
    tabs.show(0);
    tabs.open();
    tabs.keepShown(on("/c"));
    EXPECT_EQ(folders(tabs), (std::vector<std::string> { "/a", "/c", "/b" }));
    // The new tab kept what the shown one held, and the others kept theirs.
    EXPECT_EQ(tabs.tab(2), (PanelSettings { "/b", true, { SortOrder::Key::size }, { "/a", "/b" } }));
    tabs.showNext();
    tabs.showNext();
    EXPECT_EQ(tabs.shownIndex(), 0u);
    tabs.showPrevious();
    EXPECT_EQ(tabs.shownIndex(), 2u);
    EXPECT_TRUE(tabs.closeShown()); // the last: the one before is shown
    EXPECT_EQ(tabs.shownIndex(), 1u);
    tabs.show(0);
    EXPECT_TRUE(tabs.closeShown());
    EXPECT_EQ(folders(tabs), (std::vector<std::string> { "/c" }));
    EXPECT_EQ(tabs.title(0), "c");
    EXPECT_EQ(PanelTabs(on("/")).title(0), "/");
}

TEST(PanelTabsTest, RestoredTabsComeBackInTheirOrderWithoutReadingTheDisk)
{
    const PanelSettings shown { "/kept/deeper", true, { SortOrder::Key::extension }, { "/kept" } };
    const HiddenTabs hidden { { on("/kept/gone"), on(""), on("relative/path"), on("sftp://me@host/srv") }, 2 };
    PanelTabs tabs = PanelTabs::restored(shown, hidden, "/home/me");
    // A folder gone since is still asked for (the panel leaves it when listing); a place
    // this machine cannot name is the home folder, a server's address stays.
    EXPECT_EQ(folders(tabs),
        (std::vector<std::string> { "/kept/gone", "/home/me", "/kept/deeper", "/home/me", "sftp://me@host/srv" }));
    EXPECT_EQ(tabs.tab(0).history, std::vector<std::string> { "/kept/gone" });
    EXPECT_EQ(tabs.shownIndex(), 2u);
    EXPECT_EQ(tabs.shownSettings(), shown);
    EXPECT_EQ(tabs.hiddenSettings().shownAt, 2u);
    EXPECT_EQ(tabs.hiddenSettings().tabs.size(), 4u);
    // A place beyond the last (a hand-edited file) shows the last.
    EXPECT_EQ(PanelTabs::restored(shown, { { on("/kept") }, 9 }, "/home/me").shownIndex(), 1u);
}
