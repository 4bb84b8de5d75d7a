#include "WholeFile.h"

#include "TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kiv;
using kiv::test::TempDir;
using Outcome = WholeFile::ReadOutcome;

namespace {

Outcome readInto(const std::string& path, std::string& contents)
{
    contents.clear();
    return WholeFile::read(path, contents);
}

} // namespace

TEST(WholeFileTest, TellsMissingApartFromWhatCannotBeReadAsAFile)
{
    TempDir scratch;
    std::string contents;
    const std::string big(200'000, 'z');
    EXPECT_EQ(readInto(scratch.write("big.txt", big), contents), Outcome::read);
    EXPECT_EQ(contents, big);

    EXPECT_EQ(readInto(scratch / "nothing", contents), Outcome::missing);
    // A dangling link, a folder and a FIFO without a writer are something, but not a file to read;
    // the FIFO must not block.
    ASSERT_EQ(::symlink("nowhere", (scratch / "dangling").c_str()), 0);
    EXPECT_EQ(readInto(scratch / "dangling", contents), Outcome::unreadable);
    EXPECT_EQ(readInto(scratch.folder("folder"), contents), Outcome::unreadable);
    ASSERT_EQ(::mkfifo((scratch / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(readInto(scratch / "fifo", contents), Outcome::unreadable);

    if (!kiv::test::permissionBitsBind(scratch))
        GTEST_SKIP() << "permission bits do not bind for this process";
    const std::string secret = scratch.write("secret", "x");
    ::chmod(secret.c_str(), 0200);
    EXPECT_EQ(readInto(secret, contents), Outcome::unreadable);
}
