#include "archives/ArchiveMemberCopy.h"
#include "files/TemporaryCopy.h"

#include "ScopedEnvironment.h"
#include "TempDir.h"
#include "archives/ArchiveService.h"

#include <set>
#include <sys/wait.h>

using namespace kiv;
using namespace kiv::test;

TEST(ArchiveMemberCopyTest, EveryCopyGetsAFolderOfItsOwnAndNoneOutlivesAFailureOrItsProcess)
{
    test::TempDir dir;
    const std::string temporary = dir.folder("tmp");
    ScopedEnvironment scopedTemporary("TMPDIR", temporary.c_str());
    const auto copyFolders = [&] {
        std::set<std::string> names;
        for (const auto& item : std::filesystem::directory_iterator(temporary))
            names.insert(item.path().filename().string());
        return names;
    };
    dir.write("pack/inner/deep.txt", "packed");
    dir.run("tar -czf pack.tgz pack");
    const auto copy = [&] { return ArchiveMemberCopy::make({}, dir / "pack.tgz", "pack/inner/deep.txt"); };
    const std::string path = copy();
    EXPECT_EQ(path.rfind(temporary + "/kiv-mac-", 0), 0u) << path;
    EXPECT_TRUE(path.ends_with("/deep.txt") && !path.ends_with("inner/deep.txt")) << path;
    EXPECT_EQ(test::readFile(path), "packed");
    EXPECT_NE(copy(), path);
    EXPECT_ANY_THROW(ArchiveMemberCopy::make({}, dir / "gone.tgz", "pack/inner/deep.txt"));
    EXPECT_EQ(copyFolders().size(), 2u) << "a failed copy left its folder";

    // This process's copies and those of one that has ended go; those of a running process and
    // of unknown origin stay.
    const pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const std::string uuid = "-E621E1F8-C36C-495A-93FC-0C247A3E6E5F";
    const std::set<std::string> kept { "kiv-mac" + uuid, "kiv-mac-" + std::to_string(::getppid()) + uuid };
    for (const std::string& name : kept)
        dir.folder("tmp/" + name);
    dir.folder("tmp/kiv-mac-" + std::to_string(ended) + uuid);
    TemporaryCopy::removeUnused();
    EXPECT_EQ(copyFolders(), kept);
}
