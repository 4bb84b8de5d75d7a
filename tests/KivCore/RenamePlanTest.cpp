#include "rename/RenamePlan.h"

#include "TempDir.h"
#include "rename/RenameRule.h"

#include <gtest/gtest.h>

using namespace kiv;
using namespace kiv::test;
using Problem = RenamePlan::Problem;

namespace {

class RenamePlanTest : public ::testing::Test
{
protected:
    // Plans renaming `names` (files in the work folder, made when missing) by `mask`.
    RenamePlan plan(const std::vector<std::string>& names, const std::string& mask,
        std::optional<NameReplace> replace = std::nullopt)
    {
        std::vector<RenamePlan::Item> items;
        for (const std::string& name : names) {
            if (!std::filesystem::exists(dir / name))
                dir.write(name);
            const auto slash = name.rfind('/');
            items.push_back({ slash == std::string::npos ? dir.path() : dir / name.substr(0, slash),
                name.substr(slash == std::string::npos ? 0 : slash + 1), false, std::nullopt });
        }
        RenameRule rule { NameMask(mask) };
        rule.replace = std::move(replace);
        return RenamePlan(items, rule, RenamePlan::presentNames(items));
    }
    static std::vector<Problem> problems(const RenamePlan& plan)
    {
        std::vector<Problem> found;
        for (const auto& line : plan.lines())
            found.push_back(line.problem);
        return found;
    }

    TempDir dir;
};

} // namespace

TEST_F(RenamePlanTest, NamesThatWouldLoseAFileStopThePlan)
{
    // Two items to one name: the second rename would replace the first.
    EXPECT_EQ(problems(plan({ "a.txt", "b.txt" }, "same.[E]")),
        (std::vector { Problem::sameAsAnother, Problem::sameAsAnother }));
    // An item that keeps its name keeps it from the others too.
    EXPECT_EQ(problems(plan({ "x1", "x2" }, "x1")), (std::vector { Problem::none, Problem::sameAsAnother }));
    // A name taken by an item not renamed, hidden ones included (the panel may not show them).
    dir.write(".hidden");
    dir.write("kept");
    EXPECT_EQ(problems(plan({ "a.txt", "b.txt" }, "[N]",
                  NameReplace("^.*$", ".hidden", NameReplace::Syntax::regularExpression))),
        (std::vector { Problem::sameAsAnother, Problem::sameAsAnother }));
    EXPECT_EQ(problems(plan({ "a.txt" }, "kept")), (std::vector { Problem::taken }));
    EXPECT_EQ(problems(plan({ "a.txt" }, ".hidden")), (std::vector { Problem::taken }));
    EXPECT_EQ(plan({ "a.txt", "b.txt" }, "kept[C]").problemCount(), 0u);
}

TEST_F(RenamePlanTest, NamesThatCannotBeAreRefused)
{
    EXPECT_EQ(problems(plan({ "a" }, "")), (std::vector { Problem::empty }));
    for (const char* mask : { "x/[N]", ".", ".." })
        EXPECT_EQ(problems(plan({ "a" }, mask)), (std::vector { Problem::invalid })) << mask;
    EXPECT_EQ(problems(plan(
                  { "a" }, "[N]", NameReplace("a", std::string("x\0y", 3), NameReplace::Syntax::plainText))),
        (std::vector { Problem::invalid }));
    EXPECT_EQ(problems(plan({ "a" }, std::string(256, 'n'))), (std::vector { Problem::tooLong }));
    EXPECT_EQ(problems(plan({ "a" }, std::string(255, 'n'))), (std::vector { Problem::none }));
    // Made longer than a search may look at, the name is too long before it is searched.
    EXPECT_EQ(problems(plan(
                  { "a" }, std::string(2000, 'n'), NameReplace("n", "m", NameReplace::Syntax::plainText))),
        (std::vector { Problem::tooLong }));
}

TEST_F(RenamePlanTest, NamesTheSetLeavesAreFreeAndNestedItemsAreRefused)
{
    // A ring (x3 to x1, x1 to x2, x2 to x3): every name taken is left by its item.
    const RenamePlan ring = plan({ "x3", "x1", "x2" }, "x[C]");
    EXPECT_EQ(ring.problemCount(), 0u);
    EXPECT_EQ(ring.renames(),
        (std::vector<RenameSetJob::Rename> {
            { dir / "x3", dir / "x1" }, { dir / "x1", dir / "x2" }, { dir / "x2", dir / "x3" } }));
    const RenamePlan chain = plan({ "1", "2" }, "[C]", std::nullopt);
    EXPECT_EQ(chain.problemCount(), 0u);
    EXPECT_TRUE(chain.renames().empty()); // each keeps its name
    EXPECT_EQ(problems(plan({ "sub/f", "sub" }, "[N]2")), (std::vector { Problem::inside, Problem::none }));
    EXPECT_EQ(problems(plan({ "sub/f", "sub" }, "[N]",
                  NameReplace("^f$", "g", NameReplace::Syntax::regularExpression))),
        (std::vector { Problem::none, Problem::none }));
}
