#include "doors/FoundItemsDoor.h"
#include "RowNames.h"
#include "TempDir.h"
#include "doors/ReadStream.h"
#include "files/FileSystemService.h"

using namespace kiv;
using namespace kiv::test;

TEST(FoundItemsDoorTest, TheFolderSearchedListsTheItemsStillThereWhateverElseIsTheHosts)
{
    TempDir dir;
    dir.write("top.txt", "t");
    dir.write("deep/er/b.txt", "bb");
    dir.write("deep/other.txt", "o");
    const FoundItemsDoor door(FileSystemService::shared(), dir.path(), { "deep/er/b.txt", "gone.txt", "deep", "top.txt" });
    const auto rows = door.list(dir.path(), Door::HiddenFiles::hide, Door::ListingOrder::byName, nullptr);
    EXPECT_EQ(namesOf(rows), (std::vector<std::string> { "..", "deep/er/b.txt", "deep", "top.txt" }))
        << "in the order found, the one gone since left out";
    EXPECT_EQ(std::pair(rows[0].id, rows[0].kind), std::pair(dir.path(), FileEntry::Kind::parentDirectory))
        << "\"..\" leads back to the folder searched";
    EXPECT_EQ(std::tuple(rows[1].id, rows[1].size, rows[2].kind),
        std::tuple(dir / "deep/er/b.txt", std::int64_t(2), FileEntry::Kind::directory));
    EXPECT_EQ(door.displayPath(dir.path()), "Found in " + dir.path());

    // Any other folder, and every item, is the host's.
    EXPECT_EQ(namesOf(door.list(dir / "deep", Door::HiddenFiles::hide, Door::ListingOrder::byName, nullptr)),
        (std::vector<std::string> { "..", "er", "other.txt" }));
    EXPECT_EQ(door.read(dir / "top.txt")->size(), 1);
    EXPECT_EQ(door.localPath(dir / "top.txt"), dir / "top.txt");
    EXPECT_EQ(door.container()->path, dir.path());
    door.remove(dir / "top.txt");
    EXPECT_FALSE(std::filesystem::exists(dir / "top.txt"));

    EXPECT_TRUE(door.isSamePlace(FoundItemsDoor(FileSystemService::shared(), dir.path(), door.names())));
    EXPECT_FALSE(door.isSamePlace(FoundItemsDoor(FileSystemService::shared(), dir.path(), { "top.txt" })));
    EXPECT_FALSE(door.isSamePlace(*FileSystemService::shared()));
}
