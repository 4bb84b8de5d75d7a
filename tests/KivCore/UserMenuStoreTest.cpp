#include "UserMenuStore.h"

#include "ErrorText.h"
#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>

namespace kiv {

namespace {

#ifdef __APPLE__
constexpr const char* expectedTerminalCommand = "open -a Terminal .";
#else
constexpr const char* expectedTerminalCommand = "x-terminal-emulator >/dev/null 2>&1 &";
#endif

struct ItemText
{
    std::string hotkey, label, command;
    bool operator==(const ItemText&) const = default;
};

std::vector<ItemText> texts(const std::vector<UserMenuItem>& items)
{
    std::vector<ItemText> result;
    for (const auto& item : items)
        result.push_back({ item.hotkey, item.label, item.command });
    return result;
}

const std::vector<ItemText> defaultTexts = {
    { "1", "List files by size", "ls -lhS" },
    { "2", "Show disk usage here", "du -sh ./* 2>/dev/null | sort -h" },
    { "3", "Git status", "git status" },
    { "4", "Open Terminal here", expectedTerminalCommand },
};

} // namespace

class UserMenuStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const char* home = std::getenv("HOME")) m_savedHome = home;
        ::setenv("HOME", m_home.path().c_str(), 1);
    }
    void TearDown() override
    {
        if (m_savedHome)
            ::setenv("HOME", m_savedHome->c_str(), 1);
        else
            ::unsetenv("HOME");
    }

    std::string menuFolder() const { return m_home / ".config/kiv-mac"; }
    std::string menuFile() const { return m_home / ".config/kiv-mac/menu.txt"; }

    test::TempDir m_home;
    std::optional<std::string> m_savedHome;
};

TEST_F(UserMenuStoreTest, MenuFileLivesBelowHomeOrThePasswordDatabasesHome)
{
    EXPECT_EQ(UserMenuStore::menuFileURL(), menuFile());
    ::unsetenv("HOME");
    const passwd* user = ::getpwuid(::getuid());
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(UserMenuStore::menuFileURL(), std::string(user->pw_dir) + "/.config/kiv-mac/menu.txt");
}

TEST_F(UserMenuStoreTest, MissingFileIsCreatedWithTheDefaultMenuByteForByte)
{
    auto items = UserMenuStore::load();
    EXPECT_EQ(texts(items), defaultTexts);
    EXPECT_EQ(test::readFile(menuFile()),
        std::string("# Tavrin - user menu (F2)\n"
                    "# Format: hotkey|label|shell command\n"
                    "\n"
                    "1|List files by size|ls -lhS\n"
                    "2|Show disk usage here|du -sh ./* 2>/dev/null | sort -h\n"
                    "3|Git status|git status\n"
                    "4|Open Terminal here|")
            + expectedTerminalCommand + "\n");

    // Reading the written file back gives the same texts, the "|" inside a command included,
    // but new items.
    auto again = UserMenuStore::load();
    EXPECT_EQ(texts(again), defaultTexts);
    EXPECT_NE(again[0], items[0]);
    EXPECT_NE(again[0].id(), items[0].id());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(menuFolder()), {}), 1)
        << "a temporary file was left";
}

TEST_F(UserMenuStoreTest, LinesFollowTheHotkeyLabelCommandRules)
{
    auto items = UserMenuStore::parseMenuText("a|Archive|tar czf out.tgz . | cat\n"
                                              "  x | Edit | vi  \n"
                                              "12|Twelve|echo 12\n"
                                              "|No key|ls\n"
                                              "5|Only label\n"
                                              "  # indented comment\n"
                                              "#1|Commented|ls\n"
                                              " \t \n"
                                              "\n"
                                              "\te\xCC\x81t\xC3\xA9|Accented key|ls\t\n"
                                              "k||empty label\n"
                                              "z|No newline at the end|");
    std::vector<ItemText> expected = {
        { "a", "Archive", "tar czf out.tgz . | cat" },
        { "x", " Edit ", " vi" },
        { "1", "Twelve", "echo 12" },
        { "e\xCC\x81", "Accented key", "ls" }, // e + combining acute is one character
        { "k", "", "empty label" },
        { "z", "No newline at the end", "" },
    };
    EXPECT_EQ(texts(items), expected);
    EXPECT_TRUE(UserMenuStore::parseMenuText("").empty());
    EXPECT_TRUE(UserMenuStore::parseMenuText("\n\n|||\n").empty());
    // Bytes that are not UTF-8 never break the parser; the hot key is then one byte.
    EXPECT_EQ(texts(UserMenuStore::parseMenuText("\xff\xfe|Bytes|ls")),
        (std::vector<ItemText> { { "\xff", "Bytes", "ls" } }));
}

TEST_F(UserMenuStoreTest, FileWithoutEntriesOrNotUtf8GivesTheDefaultsAndStaysAsItWas)
{
    for (std::string contents : { "# only comments\n\n   # and blanks\n\t\n", "1|Caf\xE9|ls\n", "" }) {
        auto path = m_home.write(".config/kiv-mac/menu.txt", contents);
        EXPECT_EQ(texts(UserMenuStore::load()), defaultTexts);
        EXPECT_EQ(test::readFile(path), contents);
    }
    m_home.write(".config/kiv-mac/menu.txt", "# mine\nq|Quick|ls -la\n");
    EXPECT_EQ(texts(UserMenuStore::load()), (std::vector<ItemText> { { "q", "Quick", "ls -la" } }));
}

TEST_F(UserMenuStoreTest, ReadOnlyFolderAndUnreadableFileAreLeftAlone)
{
    if (!test::permissionBitsBind(m_home))
        GTEST_SKIP() << "permission bits do not bind for this process (root with DAC override)";

    // Folder read-only, no file: the defaults serve, nothing is created, save reports why.
    m_home.folder(".config/kiv-mac");
    ::chmod(menuFolder().c_str(), 0555);
    EXPECT_EQ(texts(UserMenuStore::load()), defaultTexts);
    EXPECT_FALSE(std::filesystem::exists(menuFile()));
    try {
        UserMenuStore::save({ UserMenuItem("1", "One", "ls") });
        ADD_FAILURE() << "save into a read-only folder succeeded";
    } catch (const std::exception& error) {
        EXPECT_EQ(userMessage(error), "Permission denied: " + menuFile());
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(menuFolder()), {}), 0);

    // A file that is there but unreadable is neither read nor replaced.
    ::chmod(menuFolder().c_str(), 0755);
    auto path = m_home.write(".config/kiv-mac/menu.txt", "q|Quick|ls\n");
    ::chmod(path.c_str(), 0);
    EXPECT_EQ(texts(UserMenuStore::load()), defaultTexts);
    ::chmod(path.c_str(), 0644);
    EXPECT_EQ(test::readFile(path), "q|Quick|ls\n");

    // No folder, and the home is read-only: the folder cannot be made.
    std::filesystem::remove_all(m_home / ".config");
    ::chmod(m_home.path().c_str(), 0555);
    EXPECT_EQ(texts(UserMenuStore::load()), defaultTexts);
    EXPECT_THROW(UserMenuStore::save({}), std::filesystem::filesystem_error);
    ::chmod(m_home.path().c_str(), 0700);
}

} // namespace kiv
