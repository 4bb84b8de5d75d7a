#include "archives/ArchiveMemberCopy.h"

#include "TempDir.h"
#include "archives/ArchiveService.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace kiv {

TEST(ArchiveMemberCopyTest, EveryCopyGetsATemporaryFolderOfItsOwnAndAFailureThrows)
{
    test::TempDir dir;
    dir.write("pack/inner/deep.txt", "packed");
    ASSERT_EQ(std::system(("cd '" + dir.path() + "' && tar -czf pack.tgz pack").c_str()), 0);
    const ArchiveService archives;
    const std::string first = ArchiveMemberCopy::make(archives, dir / "pack.tgz", "pack/inner/deep.txt");
    const std::string second = ArchiveMemberCopy::make(archives, dir / "pack.tgz", "pack/inner/deep.txt");
    EXPECT_NE(first, second);
    const std::string prefix = std::filesystem::temp_directory_path().string() + "/kiv-mac-";
    for (const std::string& copy : { first, second }) {
        EXPECT_EQ(copy.rfind(prefix, 0), 0u) << copy;
        EXPECT_TRUE(copy.ends_with("/pack/inner/deep.txt")) << copy;
        EXPECT_EQ(test::readFile(copy), "packed");
        std::filesystem::remove_all(copy.substr(0, copy.find('/', prefix.size())));
    }
    EXPECT_ANY_THROW(ArchiveMemberCopy::make(archives, dir / "gone.tgz", "pack/inner/deep.txt"));
}

} // namespace kiv
