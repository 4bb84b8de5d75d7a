#include "sync/FolderComparison.h"

#include "TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

using namespace kiv;
using namespace kiv::test;
using Difference = SyncItem::Difference;
using Action = SyncItem::Action;

namespace {

class FolderComparisonTest : public ::testing::Test
{
protected:
    // Writes `content` at `path` below both folders, with the given times.
    void both(const std::string& path, const std::string& left, const std::string& right,
        std::int64_t leftTime, std::int64_t rightTime)
    {
        setTime(dir.write("L/" + path, left), leftTime);
        setTime(dir.write("R/" + path, right), rightTime);
    }
    std::map<std::string, std::pair<Difference, Action>> compared(FolderComparison::Mode mode)
    {
        std::map<std::string, std::pair<Difference, Action>> found;
        for (const SyncItem& item : FolderComparison::compare(dir / "L", dir / "R", mode, nullptr))
            found[item.path] = { item.difference, item.action };
        return found;
    }

    TempDir dir;
};

} // namespace

TEST_F(FolderComparisonTest, FindsEveryDifferenceWithItsDirection)
{
    both("same.txt", "x", "x", 1000, 1000);
    both("fat.txt", "x", "x", 1000, 1001); // FAT keeps times to two seconds
    both("newer-left.txt", "new", "old", 5000, 1000);
    both("newer-right.txt", "old", "new", 1000, 5000);
    both("clash.txt", "one", "other", 1000, 1000);
    both("deep/er/inner.txt", "new", "old", 5000, 1000);
    dir.write("L/only-left/a/b.txt");
    dir.write("R/only-right.txt");
    dir.folder("L/kind");
    dir.write("R/kind");
    std::filesystem::create_symlink("a", dir / "L/link");
    std::filesystem::create_symlink("a", dir / "R/link");
    std::filesystem::create_symlink("a", dir / "L/other-link");
    std::filesystem::create_symlink("b", dir / "R/other-link");
    setTime(dir / "L/other-link", 9000);
    setTime(dir / "R/other-link", 1000);
    EXPECT_EQ(compared(FolderComparison::Mode::sizeAndTime),
        (std::map<std::string, std::pair<Difference, Action>> {
            { "clash.txt", { Difference::conflict, Action::skip } },
            { "deep/er/inner.txt", { Difference::leftNewer, Action::copyToRight } },
            { "kind", { Difference::conflict, Action::skip } },
            { "newer-left.txt", { Difference::leftNewer, Action::copyToRight } },
            { "newer-right.txt", { Difference::rightNewer, Action::copyToLeft } },
            { "only-left", { Difference::leftOnly, Action::copyToRight } },
            { "only-right.txt", { Difference::rightOnly, Action::copyToLeft } },
            { "other-link", { Difference::leftNewer, Action::copyToRight } },
        }));
}

TEST_F(FolderComparisonTest, ByContentTimesDoNotCountButEveryByteDoes)
{
    both("copied-later.txt", "same bytes", "same bytes", 1000, 9000);
    std::string big(600 * 1024, 'a');
    const std::string left = big;
    big[550 * 1024] = 'b'; // in the third block read
    both("big.bin", left, big, 1000, 1000);
    EXPECT_EQ(compared(FolderComparison::Mode::content),
        (std::map<std::string, std::pair<Difference, Action>> {
            { "big.bin", { Difference::conflict, Action::skip } } }));
    EXPECT_EQ(compared(FolderComparison::Mode::sizeAndTime).size(), 1u); // copied-later.txt by its time
}

TEST_F(FolderComparisonTest, AFolderThatCannotBeReadIsAnItemAndTheRestIsCompared)
{
    if (!permissionBitsBind(dir))
        GTEST_SKIP() << "permission bits do not bind for this user";
    dir.write("L/closed/secret");
    dir.write("R/closed/secret");
    dir.write("L/open.txt");
    ::chmod((dir / "R/closed").c_str(), 0);
    const auto items
        = FolderComparison::compare(dir / "L", dir / "R", FolderComparison::Mode::sizeAndTime, nullptr);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].path, "closed");
    EXPECT_EQ(items[0].difference, Difference::unreadable);
    EXPECT_EQ(items[0].choices(), std::vector { Action::skip });
    EXPECT_NE(items[0].note.find("Permission denied"), std::string::npos);
    EXPECT_EQ(items[1].path, "open.txt");
}
