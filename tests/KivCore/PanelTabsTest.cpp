#include "settings/PanelTabs.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using namespace kiv;
using namespace kiv::test;

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

TEST(PanelTabsTest, RestoredTabsStandOnFoldersThatExistInTheirOrder)
{
    TempDir dir;
    dir.folder("kept/deeper");
    dir.folder("home");
    const PanelSettings shown { dir / "kept/deeper", true, { SortOrder::Key::extension }, { dir / "kept" } };
    const HiddenTabs hidden {
        { on(dir / "kept/gone/and/more"), on(""), on("relative/path"), on(dir / "kept") }, 2
    };
    PanelTabs tabs = PanelTabs::restored(shown, hidden, dir / "home");
    // A folder gone since: its nearest ancestor still there, with the tab's own history.
    EXPECT_EQ(folders(tabs),
        (std::vector<std::string> {
            dir / "kept", dir / "home", dir / "kept/deeper", dir / "home", dir / "kept" }));
    EXPECT_EQ(tabs.tab(0).history, std::vector<std::string> { dir / "kept/gone/and/more" });
    EXPECT_EQ(tabs.shownIndex(), 2u);
    EXPECT_EQ(tabs.shownSettings(), shown);
    EXPECT_EQ(tabs.hiddenSettings().shownAt, 2u);
    EXPECT_EQ(tabs.hiddenSettings().tabs.size(), 4u);
    // A place beyond the last (a hand-edited file) shows the last.
    EXPECT_EQ(PanelTabs::restored(shown, { { on(dir / "kept") }, 9 }, dir / "home").shownIndex(), 1u);
    EXPECT_EQ(PanelTabs::restored(on(dir / "gone"), {}, dir / "home").shownSettings().folder, dir.path());
}
