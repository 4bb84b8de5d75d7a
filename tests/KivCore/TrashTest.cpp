#include "trash/Trash.h"
#include "TempDir.h"
#include "base/KivError.h"
#include "text/PercentEncoding.h"
#include "trash/TrashInfo.h"

#include <regex>

using namespace kiv;
using namespace kiv::test;
namespace {

// Restores the state of a path outside the test's own folders (a file system's top) when done.
struct RemovedWhenDone
{
    std::string path;
    bool existedBefore = std::filesystem::exists(path);
    ~RemovedWhenDone()
    {
        if (!existedBefore)
            std::filesystem::remove_all(path);
    }
};

TEST(TrashTest, KeepsNamesThatAreNotUtf8ByteExactAndRestoresOnlyToAFreeName)
{
    TempDir home;
    Trash trash(home / "data/Trash");
    const std::string name = "caf\xe9 100%.txt";
    const std::string original = home.write(name, "first");
    const TrashedItem first = trash.moveToTrash(original);
    EXPECT_EQ(first,
        (TrashedItem { original, home / ("data/Trash/files/" + name),
            home / ("data/Trash/info/" + name + ".trashinfo") }));
    EXPECT_FALSE(std::filesystem::exists(original));
    const std::regex info(
        "\\[Trash Info\\]\nPath=(.*)\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n");
    std::smatch parts;
    const std::string infoText = readFile(first.infoPath);
    ASSERT_TRUE(std::regex_match(infoText, parts, info)) << infoText;
    EXPECT_EQ(parts[1], PercentEncoding::encoded(original));
    EXPECT_EQ(PercentEncoding::encoded("/a b/%\xe9-_.~"), "/a%20b/%25%E9-_.~");

    // The same name again gets a numbered one; putting the first back takes the original name,
    // so the second finds it taken and stays in the trash with its info file.
    home.write(name, "second");
    const TrashedItem second = trash.moveToTrash(original);
    EXPECT_EQ(second.trashedPath, home / "data/Trash/files/caf\xe9 100%.2.txt");
    trash.restore(first);
    EXPECT_EQ(readFile(original), "first");
    EXPECT_FALSE(std::filesystem::exists(first.infoPath));
    EXPECT_THROW(trash.restore(second), KivError);
    EXPECT_EQ(std::pair(readFile(second.trashedPath), std::filesystem::exists(second.infoPath)),
        std::pair(std::string("second"), true));
}

TEST(TrashTest, UsesTheTrashOnTheItemsOwnFileSystemOrRefusesLeavingTheItem)
{
    TempDir home;
    TempDir shm("/dev/shm");
    const RemovedWhenDone topTrash { "/dev/shm/.Trash-" + std::to_string(::getuid()) };
    Trash trash(home / "data/Trash");
    const std::string original = shm.write("x\xff", "data");
    const TrashedItem item = trash.moveToTrash(original);
    EXPECT_EQ(item.trashedPath, topTrash.path + "/files/x\xff");
    EXPECT_NE(readFile(item.infoPath).find("\nPath=" + PercentEncoding::encoded(original.substr(9)) + "\n"),
        std::string::npos)
        << "relative to the top of /dev/shm";
    trash.restore(item);
    EXPECT_EQ(readFile(original), "data");

    // No trash can be made where a file is in its way: a clear refusal, never a copy elsewhere.
    if (topTrash.existedBefore)
        GTEST_SKIP() << "the user's own trash on /dev/shm stays";
    std::filesystem::remove_all(topTrash.path);
    std::ofstream(topTrash.path) << "";
    try {
        trash.moveToTrash(original);
        ADD_FAILURE() << "trashed without a trash";
    } catch (const KivError& error) {
        EXPECT_NE(error.description().find("There is no trash on the file system of " + original),
            std::string::npos);
    }
    EXPECT_EQ(readFile(original), "data");
    EXPECT_FALSE(std::filesystem::exists(home / "data/Trash/files/x\xff"));
}

} // namespace
