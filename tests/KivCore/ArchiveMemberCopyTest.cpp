#include "archives/ArchiveMemberCopy.h"

#include "TempDir.h"
#include "archives/ArchiveService.h"

using namespace kiv;
using namespace kiv::test;

TEST(ArchiveMemberCopyTest, EveryCopyGetsATemporaryFolderOfItsOwnAndAFailureThrows)
{
    test::TempDir dir;
    dir.write("pack/inner/deep.txt", "packed");
    dir.run("tar -czf pack.tgz pack");
    const std::string prefix = std::filesystem::temp_directory_path().string() + "/kiv-mac-";
    std::string previous;
    for (int copy = 0; copy < 2; ++copy) {
        const std::string path = ArchiveMemberCopy::make({}, dir / "pack.tgz", "pack/inner/deep.txt");
        EXPECT_EQ(path.rfind(prefix, 0), 0u) << path;
        EXPECT_TRUE(path.ends_with("/deep.txt") && !path.ends_with("inner/deep.txt")) << path;
        EXPECT_EQ(test::readFile(path), "packed");
        EXPECT_NE(path, std::exchange(previous, path));
        std::filesystem::remove_all(path.substr(0, path.find('/', prefix.size())));
    }
    EXPECT_ANY_THROW(ArchiveMemberCopy::make({}, dir / "gone.tgz", "pack/inner/deep.txt"));
}
