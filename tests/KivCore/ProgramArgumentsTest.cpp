#include "settings/ProgramArguments.h"

#include <gtest/gtest.h>
#include <regex>

using namespace kiv;
using Action = ProgramArguments::Action;

TEST(ProgramArgumentsTest, PathsGoToThePanelsInOrderAndDoubleDashLetsAPathStartWithADash)
{
    EXPECT_EQ(ProgramArguments::parse({}), ProgramArguments {});
    EXPECT_EQ(ProgramArguments::parse({ "/a", "b c" }).folders, (std::vector<std::string> { "/a", "b c" }));
    EXPECT_EQ(ProgramArguments::parse({ "-" }).folders, std::vector<std::string> { "-" });
    const ProgramArguments dashed = ProgramArguments::parse({ "--", "-x", "--help" });
    EXPECT_EQ(dashed.action, Action::run);
    EXPECT_EQ(dashed.folders, (std::vector<std::string> { "-x", "--help" }));
    EXPECT_EQ(ProgramArguments::parse({ "a", "--", "-b" }).folders, (std::vector<std::string> { "a", "-b" }));
}

TEST(ProgramArgumentsTest, HelpAndVersionPrintWhateverElseIsThereButAWrongWordOrAThirdPathRefuses)
{
    const ProgramArguments help = ProgramArguments::parse({ "a", "b", "c", "--help" });
    EXPECT_EQ(help.action, Action::print);
    EXPECT_TRUE(help.text.starts_with("Usage: tavrin [OPTION] [LEFT [RIGHT]]\n")) << help.text;
    EXPECT_EQ(ProgramArguments::parse({ "-h" }).text, help.text);
    const ProgramArguments version = ProgramArguments::parse({ "--bogus", "--version" });
    EXPECT_EQ(version.action, Action::print);
    EXPECT_TRUE(std::regex_match(version.text, std::regex("tavrin [0-9]+(\\.[0-9]+)+\n"))) << version.text;

    const ProgramArguments unknown = ProgramArguments::parse({ "a", "--bogus" });
    EXPECT_EQ(unknown.action, Action::refuse);
    EXPECT_EQ(unknown.text, "tavrin: unknown option '--bogus'\nTry 'tavrin --help' for more.\n");
    EXPECT_TRUE(unknown.folders.empty());
    const ProgramArguments third = ProgramArguments::parse({ "a", "b", "c" });
    EXPECT_EQ(third.action, Action::refuse);
    EXPECT_NE(third.text.find("'c' is a third"), std::string::npos) << third.text;
}
