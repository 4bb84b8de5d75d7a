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
    // Lines of keys a later version may write are kept as they are, after this version's own.
    m_home.write(".config/kiv-mac/settings.txt", readFile(m_file) + "colour blue\\q\nleft.zoom 2\n");
    settings.unknownLines = { "colour blue\\q", "left.zoom 2" };
    EXPECT_EQ(SettingsStore::load().settings, settings);
    SettingsStore::save(settings);
    EXPECT_TRUE(readFile(m_file).ends_with("\ncolour blue\\q\nleft.zoom 2\n")) << readFile(m_file);

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
    EXPECT_EQ(parsed->settings.leftTabs, HiddenTabs {});
    // A tab's line before the line that starts a tab, or a place that is no number: bad lines.
    for (const char* bad : { "left.tab.hidden 1\n", "left.shown 1x\n" }) {
        const auto withBadLine = SettingsStore::parseSettingsText(header + bad);
        ASSERT_TRUE(withBadLine);
        EXPECT_EQ(withBadLine->badLines, std::vector { 2 }) << bad;
        EXPECT_EQ(withBadLine->settings, Settings {}) << bad;
    }
}

TEST_F(SettingsStoreTest, BadLinesAreToldOnceTheGoodOnesKeptAndTheFileAsItWasSetAside)
{
    const std::string header = "# Tavrin settings: one \"key value\" a line\n";
    const std::string text = header
        + "left.folder /srv\nleft.sort size sideways\nhotlist /a\nwindow 800 600 300\nwindow 10 20\n"
          "right.hidden\ncommand ls \\q\nright.hidden 1\nhotlist /b\nfuture yes\n";
    m_home.write(".config/kiv-mac/settings.txt", text);
    const auto loaded = SettingsStore::load();
    Settings kept;
    kept.left.folder = "/srv";
    kept.right.showHidden = true;
    std::tie(kept.windowWidth, kept.windowHeight, kept.dividerPosition) = std::tuple(800, 600, 300);
    kept.hotlist = { "/a", "/b" };
    kept.unknownLines = { "future yes" };
    EXPECT_EQ(loaded.settings, kept);
    EXPECT_EQ(loaded.problem,
        "The settings file " + m_file + " has 4 lines Tavrin cannot read (line 3 is the first). Every other "
        "setting was kept; the file as it was has been set aside as " + m_file + ".damaged.");
    EXPECT_TRUE(loaded.maySave);
    EXPECT_EQ(readFile(m_file + ".damaged"), text);
    // The good lines were written back at once: the next start has them and nothing to tell.
    EXPECT_EQ(SettingsStore::load().settings, kept);
    EXPECT_EQ(SettingsStore::load().problem, "");

    m_home.write(".config/kiv-mac/settings.txt", header + "left.hidden 2\n");
    EXPECT_EQ(SettingsStore::load().problem,
        "The settings file " + m_file + " has a line Tavrin cannot read (line 2). Every other setting was "
        "kept; the file as it was has been set aside as " + m_file + ".damaged-2.");
}

TEST_F(SettingsStoreTest, AFileThatIsNoSettingsFileIsSetAsideUnderAFreeNameAndTheDefaultsCome)
{
    for (const char* damaged : { "garbage", "", "left.folder /srv\n" }) {
        m_home.write(".config/kiv-mac/settings.txt", damaged);
        const auto loaded = SettingsStore::load();
        EXPECT_EQ(loaded.settings, Settings {});
        EXPECT_NE(loaded.problem.find("set aside as " + m_file + ".damaged"), std::string::npos)
            << loaded.problem;
        EXPECT_TRUE(loaded.maySave);
        EXPECT_FALSE(std::filesystem::exists(m_file));
    }
    EXPECT_EQ(readFile(m_file + ".damaged"), "garbage");
    EXPECT_EQ(readFile(m_file + ".damaged-3"), "left.folder /srv\n");
}
