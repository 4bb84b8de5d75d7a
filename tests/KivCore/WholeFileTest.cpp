#include "files/WholeFile.h"

#include "TempDir.h"

using namespace kiv;
using Outcome = WholeFile::ReadOutcome;

TEST(WholeFileTest, TellsMissingApartFromWhatCannotBeReadAsAFile)
{
    kiv::test::TempDir scratch;
    std::string contents;
    const std::string big(200'000, 'z');
    EXPECT_EQ(WholeFile::read(scratch.write("big.txt", big), contents), Outcome::read);
    EXPECT_EQ(contents, big);
    EXPECT_EQ(WholeFile::read(scratch / "nothing", contents), Outcome::missing);
    // A dangling link, a folder and a FIFO without a writer (which must not block) are something.
    ASSERT_EQ(::symlink("nowhere", (scratch / "dangling").c_str()), 0);
    ASSERT_EQ(::mkfifo((scratch / "fifo").c_str(), 0600), 0);
    for (const std::string& path : { scratch / "dangling", scratch.folder("folder"), scratch / "fifo" })
        EXPECT_EQ(WholeFile::read(path, contents), Outcome::unreadable) << path;
}
