#include "archives/PackJob.h"

#include "JobScript.h"
#include "TempDir.h"
#include "archives/ArchiveService.h"
#include "archives/ExtractJob.h"

#include <sys/stat.h>

using namespace kiv;
using namespace kiv::test;

namespace {

// Each written format, as the user names it.
const char* const suffixes[] { ".zip", ".tar", ".tar.gz", ".tar.xz", ".tar.zst", ".tar.bz2", ".7z", ".cpio" };

} // namespace

TEST(PackJobTest, EveryFormatRoundTripsByteForByteWithLinksAndModes)
{
    TempDir scratch;
    for (const auto& [path, content] : std::map<std::string, std::string> { { "tree/docs/a.txt", "alpha" },
             { "tree/ leading.txt", std::string(3'000'000, 'x') }, { "tree/new\nline", "nl" },
             { "tree/\xC3\xA9t\xC3\xA9.txt", "utf8" }, { "other.txt", "single" } })
        scratch.write(path, content);
    scratch.folder("tree/empty");
    scratch.run("ln -s docs/a.txt tree/link && chmod 750 tree/docs && chmod 640 tree/docs/a.txt");
    const Tree expected = treeOf(scratch.path());
    for (const std::string suffix : suffixes) {
        SCOPED_TRACE(suffix);
        const std::string packed = scratch.path() + "/../packed" + suffix;
        JobScript packing;
        EXPECT_EQ(packing.run(PackJob({ scratch / "tree", scratch / "other.txt" }, packed)).summary,
            "Packed 9 items");
        TempDir out;
        EXPECT_EQ(JobScript().run(ExtractJob(packed, {}, out.path())).end, JobOutcome::End::completed);
        EXPECT_EQ(treeOf(out.path()), expected);
        struct stat docs
        {
        };
        EXPECT_EQ(::stat((out / "tree/docs").c_str(), &docs), 0);
        if (suffix != ".7z") { // the library keeps no folder modes in 7z
            EXPECT_EQ(docs.st_mode & 0777, 0750u);
        }
        std::filesystem::remove(packed);
    }
}

TEST(PackJobTest, AnExistingArchiveIsReplacedOnlyWhenAskedAndAFailureLeavesNothing)
{
    TempDir scratch;
    scratch.write("src/big.bin", std::string(4 << 20, 'b'));
    const auto archive = scratch.write("out.tar.gz", "mine");
    JobScript keeping({ JobAnswer::skip });
    keeping.run(PackJob({ scratch / "src" }, archive));
    EXPECT_EQ(keeping.asked.size(), 1u);
    EXPECT_EQ(readFile(archive), "mine");

    // A source that cannot be read ends the job half way: the old archive stays, no part is left.
    JobScript failing({ JobAnswer::overwrite });
    EXPECT_EQ(
        failing.run(PackJob({ scratch / "src", scratch / "missing" }, archive)).end, JobOutcome::End::failed);
    EXPECT_EQ(readFile(archive), "mine");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()), {}), 2)
        << "a half archive is left";

    JobScript replacing({ JobAnswer::overwrite });
    EXPECT_EQ(replacing.run(PackJob({ scratch / "src" }, archive)).end, JobOutcome::End::completed);
    EXPECT_EQ(ArchiveService().listRawEntries(archive).size(), 2u);
    EXPECT_FALSE(PackJob::canWrite("name.rar"));
    EXPECT_TRUE(PackJob::canWrite("NAME.TAR.ZST"));
}
