#include "settings/SettingsStore.h"

#include "ScopedEnvironment.h"
#include "TempDir.h"

using namespace kiv;
using namespace kiv::test;

namespace {

class SettingsStoreTest : public ::testing::Test
{
protected:
    TempDir m_home;
    ScopedEnvironment m_scopedHome { "HOME", m_home.path().c_str() };
    ScopedEnvironment m_defaultConfigFolder { "XDG_CONFIG_HOME", nullptr };
    std::string m_file = m_home / ".config/kiv-mac/settings.txt";
};

} // namespace

TEST_F(SettingsStoreTest, EverythingComesBackAndTheFolderFollowsXdgConfigHome)
{
    EXPECT_EQ(SettingsStore::load().settings, Settings {}) << "no file: a first start";
    Settings settings;
    settings.left = { "/data/line\nbreak", true, { SortOrder::Key::size, SortOrder::Direction::descending },
        { "/a", "/back\\slash", "/\xff" } };
    settings.right.sortOrder = { SortOrder::Key::unsorted };
    settings.windowWidth = 900;
    settings.windowHeight = 500;
    settings.dividerPosition = 300;
    settings.hotlist = { "/srv", "/tmp" };
    settings.commandHistory = { "ls -l", "echo 'a\\nb'" };
    SettingsStore::save(settings);
    EXPECT_EQ(SettingsStore::load().settings, settings);
    // Keys a later version may write are skipped.
    m_home.write(".config/kiv-mac/settings.txt", readFile(m_file) + "colour blue\n");
    EXPECT_EQ(SettingsStore::load().settings, settings);

    ScopedEnvironment configHome("XDG_CONFIG_HOME", (m_home / "elsewhere").c_str());
    EXPECT_EQ(SettingsStore::settingsFilePath(), m_home / "elsewhere/kiv-mac/settings.txt");
    EXPECT_EQ(SettingsStore::load().settings, Settings {});
}

TEST_F(SettingsStoreTest, EveryTabComesBackAndAFileWithoutTabsStillLoads)
{
    Settings settings;
    settings.left.folder = "/shown";
    settings.leftTabs
        = { { { "/first", true, { SortOrder::Key::size }, { "/x", "/first" } }, { "/third", false, {}, {} } },
              1 };
    settings.rightTabs = { { { "/r\nnewline", false, {}, {} } }, 0 };
    SettingsStore::save(settings);
    EXPECT_EQ(SettingsStore::load().settings, settings);
    const std::string header = "# Tavrin settings: one \"key value\" a line\n";
    const auto parsed = SettingsStore::parseSettingsText(header + "left.folder /a\nleft.hidden 1\n");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->leftTabs, HiddenTabs {});
    // A tab's line before the line that starts a tab, or a place that is no number: damaged.
    EXPECT_FALSE(SettingsStore::parseSettingsText(header + "left.tab.hidden 1\n"));
    EXPECT_FALSE(SettingsStore::parseSettingsText(header + "left.shown one\n"));
}

TEST_F(SettingsStoreTest, ADamagedFileIsSetAsideUnderAFreeNameAndTheDefaultsCome)
{
    for (const char* damaged : { "# Tavrin settings: one \"key value\" a line\nleft.sort size sideways\n",
             "# Tavrin settings: one \"key value\" a line\nwindow 10 20\n", "garbage" }) {
        m_home.write(".config/kiv-mac/settings.txt", damaged);
        const auto loaded = SettingsStore::load();
        EXPECT_EQ(loaded.settings, Settings {});
        EXPECT_NE(loaded.problem.find("set aside as " + m_file + ".damaged"), std::string::npos)
            << loaded.problem;
        EXPECT_TRUE(loaded.maySave);
        EXPECT_FALSE(std::filesystem::exists(m_file));
    }
    EXPECT_EQ(readFile(m_file + ".damaged"),
        "# Tavrin settings: one \"key value\" a line\nleft.sort size sideways\n");
    EXPECT_EQ(readFile(m_file + ".damaged-3"), "garbage");
}
