#include "shell/UserMenuStore.h"

#include "ScopedEnvironment.h"
#include "TempDir.h"

using namespace kiv;
using namespace kiv::test;
namespace {

using Lines = std::vector<std::string>;

// Each item as "hotkey|label|command", to compare all three texts at once, then each bad line as
// its number and reason.
Lines linesOf(const UserMenuStore::Menu& menu)
{
    Lines lines;
    for (const auto& item : menu.items)
        lines.push_back(item.hotkey + "|" + item.label + "|" + item.command);
    for (const auto& bad : menu.badLines)
        lines.push_back(std::to_string(bad.number) + ": " + bad.reason);
    return lines;
}

bool isTheDefaultMenu(const UserMenuStore::Menu& menu)
{
    return menu.items.size() == 4 && menu.badLines.empty()
        && linesOf(menu)[0] == "1|List files by size|ls -lhS";
}

class UserMenuStoreTest : public ::testing::Test
{
protected:
    test::TempDir m_home;
    test::ScopedEnvironment m_scopedHome { "HOME", m_home.path().c_str() };
    test::ScopedEnvironment m_defaultConfigFolder { "XDG_CONFIG_HOME", nullptr };
    std::string m_folder = m_home / ".config/kiv-mac";
    std::string m_file = m_folder + "/menu.txt";
};

TEST_F(UserMenuStoreTest, AMissingFileIsWrittenWithTheDefaultsAndAFileWithoutEntriesIsLeftAlone)
{
    const auto defaults = UserMenuStore::load();
    EXPECT_TRUE(isTheDefaultMenu(defaults));
    EXPECT_EQ(linesOf(UserMenuStore::parseMenuText(test::readFile(m_file))), linesOf(defaults));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder), {}), 1)
        << "a temporary file was left";

    for (std::string contents : { "# only comments\n\n   # and blanks\n\t\n", "" }) {
        m_home.write(".config/kiv-mac/menu.txt", contents);
        EXPECT_TRUE(isTheDefaultMenu(UserMenuStore::load()));
        EXPECT_EQ(test::readFile(m_file), contents);
    }
    // A line that is not UTF-8 spoils only itself.
    m_home.write(".config/kiv-mac/menu.txt", "# mine\n1|Caf\xE9|ls\nq|Quick|ls -la\n");
    EXPECT_EQ(linesOf(UserMenuStore::load()), (Lines { "q|Quick|ls -la", "2: it is not valid UTF-8 text" }));
}

TEST_F(UserMenuStoreTest, SettingXdgConfigHomeKeepsTheMenuMadeBeforeUntilOneIsMadeThere)
{
    m_home.write(".config/kiv-mac/menu.txt", "m|Mine|make\n");
    const std::string moved = m_home.folder("elsewhere");
    ScopedEnvironment configHome("XDG_CONFIG_HOME", moved.c_str());
    EXPECT_EQ(UserMenuStore::menuFilePath(), m_file);
    EXPECT_EQ(linesOf(UserMenuStore::load()), Lines { "m|Mine|make" });
    EXPECT_FALSE(std::filesystem::exists(moved + "/kiv-mac")) << "no fresh default menu was made";

    m_home.write("elsewhere/kiv-mac/menu.txt", "n|New|ninja\n");
    EXPECT_EQ(UserMenuStore::menuFilePath(), moved + "/kiv-mac/menu.txt");
    EXPECT_EQ(linesOf(UserMenuStore::load()), Lines { "n|New|ninja" });
}

TEST_F(UserMenuStoreTest, LinesFollowTheHotkeyLabelCommandRules)
{
    auto menu = UserMenuStore::parseMenuText(
        "a|Archive|tar czf out.tgz . | cat\n  x | Edit | vi  \n12|Twelve|echo 12\n"
        "|No key|ls\n5|Only label\n  # indented comment\n \t \n\n"
        "\te\xCC\x81t\xC3\xA9|Accented key|ls\t\n\te\xCC\x81|Accented key|ls\t\nk||empty label\nz|Last|");
    EXPECT_EQ(linesOf(menu),
        (Lines { "a|Archive|tar czf out.tgz . | cat", "x| Edit | vi",
            "e\xCC\x81|Accented key|ls", // e and a combining accent are one character
            "k||empty label", "z|Last|", "3: the hot key \"12\" is more than one character",
            "4: it has no hot key before the first |", "5: it is not hotkey|label|command",
            "9: the hot key \"e\xCC\x81t\xC3\xA9\" is more than one character" }));
}

TEST_F(UserMenuStoreTest, AReadOnlyFolderOrUnreadableFileIsLeftAlone)
{
    if (!test::permissionBitsBind(m_home))
        GTEST_SKIP() << "permission bits do not bind for this process (root with DAC override)";
    m_home.folder(".config/kiv-mac");
    ::chmod(m_folder.c_str(), 0555);
    EXPECT_TRUE(isTheDefaultMenu(UserMenuStore::load()));
    EXPECT_ANY_THROW(UserMenuStore::save({ UserMenuItem("1", "One", "ls") }));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder), {}), 0);

    ::chmod(m_folder.c_str(), 0755);
    ::chmod(m_home.write(".config/kiv-mac/menu.txt", "q|Quick|ls\n").c_str(), 0);
    EXPECT_TRUE(isTheDefaultMenu(UserMenuStore::load()));
    ::chmod(m_file.c_str(), 0644);
    EXPECT_EQ(test::readFile(m_file), "q|Quick|ls\n");
}

} // namespace
