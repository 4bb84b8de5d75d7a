#include "shell/ChangeDirectoryLine.h"

#include "base/KivError.h"

#include "ScopedEnvironment.h"

#include <gtest/gtest.h>

using namespace kiv;
using namespace kiv::test;

TEST(ChangeDirectoryLineTest, EveryFormNamesItsFolderAndLinesForTheShellAreLeftToIt)
{
    const ScopedEnvironment home("HOME", "/home/me");
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        { "cd", "/home/me" },
        { "  cd  ", "/home/me" },
        { "cd ~", "/home/me" },
        { "cd ~/src/../doc", "/home/me/doc" },
        { "cd -", "/old" },
        { "cd ..", "/work" },
        { "cd ../..", "/" },
        { "cd sub/./deeper/", "/work/here/sub/deeper" },
        { "cd /etc", "/etc" },
        { "cd ''", "/work/here" },
        { "cd 'My Files'", "/work/here/My Files" },
        { "cd \"a \\\"b\\\" \\\\c\"", "/work/here/a \"b\" \\c" },
        { "cd My\\ Files", "/work/here/My Files" },
        { "cd '~'", "/work/here/~" },
        { "cd '-'", "/old" },
        { "cd a'b c'd", "/work/here/ab cd" },
        // Left to the shell: not cd, more words, shell syntax, open quotes, other users' homes.
        { "cdx", std::nullopt },
        { "ls cd", std::nullopt },
        { "cd a b", std::nullopt },
        { "cd a; ls", std::nullopt },
        { "cd $HOME", std::nullopt },
        { "cd \"$HOME\"", std::nullopt },
        { "cd *", std::nullopt },
        { "cd 'open", std::nullopt },
        { "cd a\\", std::nullopt },
        { "cd ~root", std::nullopt },
        { "", std::nullopt },
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(ChangeDirectoryLine::target(line, "/work/here", "/old"), expected) << line;

    EXPECT_THROW(ChangeDirectoryLine::target("cd -", "/work/here", ""), KivError);
}
