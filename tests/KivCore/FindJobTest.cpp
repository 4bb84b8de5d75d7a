#include "search/FindJob.h"
#include "files/FolderSizeJob.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"
#include "remote/SftpDoor.h"
#include "search/FindResults.h"

#include "JobScript.h"
#include "SshServer.h"
#include "TempDir.h"

#include <algorithm>

using namespace kiv;
using namespace kiv::test;

namespace {

class FindJobTest : public ::testing::Test
{
protected:
    // A tree with text files, a binary file, a link that leads back up and an unreadable folder.
    void SetUp() override
    {
        dir.write("root/notes.txt", "Hello world");
        dir.write("root/Data.TXT", "nothing here");
        dir.write("root/blob.dat", std::string("\0\0hello", 7));
        dir.write("root/sub/deep.txt", "say hello");
        dir.write("root/sub/joined.md", "helloworld");
        std::filesystem::create_directory_symlink("..", dir / "root/sub/up");
        dir.write("root/locked/secret.txt", "hello");
        if (!permissionBitsBind(dir))
            GTEST_SKIP() << "permission bits do not bind";
        ::chmod((dir / "root/locked").c_str(), 0);
    }

    // The hits of `query` (its root set here) as paths below the root, sorted.
    std::vector<std::string> hits(FindQuery query)
    {
        query.root = dir / "root";
        results = std::make_shared<FindResults>();
        FindJob job(query, results);
        JobControl control;
        outcome = JobThread::runHere(job, control);
        std::vector<std::string> paths;
        for (const FindResults::Hit& hit : results->hitsFrom(0))
            paths.push_back(hit.folder.substr(query.root.size()) + "/" + hit.name);
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    TempDir dir;
    std::shared_ptr<FindResults> results;
    JobOutcome outcome;
};

using Paths = std::vector<std::string>;

} // namespace

TEST_F(FindJobTest, FindsNamesOnceEachPastLoopsAndCountsWhatCannotBeRead)
{
    FindQuery query;
    query.namePatterns = "*.txt";
    EXPECT_EQ(hits(query), (Paths { "/Data.TXT", "/notes.txt", "/sub/deep.txt" }));
    EXPECT_EQ(results->refusals(), (Paths { "Permission denied: " + (dir / "root/locked") }));
    EXPECT_EQ(outcome.end, JobOutcome::End::incomplete);

    query.letterCase = NamePatterns::LetterCase::matched;
    query.namePatterns = " ; ";
    EXPECT_EQ(hits(query).size(), 8u); // every item: no pattern is every name
}

TEST_F(FindJobTest, FindsTextWithTheChosenCaseWordsAndBinaries)
{
    FindQuery query;
    query.text = "hello";
    EXPECT_EQ(hits(query), (Paths { "/notes.txt", "/sub/deep.txt", "/sub/joined.md" }));
    query.words = TextSearch::Words::whole;
    EXPECT_EQ(hits(query), (Paths { "/notes.txt", "/sub/deep.txt" }));
    query.letterCase = NamePatterns::LetterCase::matched;
    EXPECT_EQ(hits(query), (Paths { "/sub/deep.txt" }));
    query.binaries = TextSearch::Binaries::searched;
    query.namePatterns = "*.dat";
    EXPECT_EQ(hits(query), (Paths { "/blob.dat" }));
}

TEST_F(FindJobTest, FindsArchiveMembersByNameOnlyWhenAsked)
{
    dir.write("pack/docs/report.txt", "r");
    dir.run("cd pack && zip -qr ../root/sub/pack.zip docs");
    FindQuery query;
    query.namePatterns = "report*";
    EXPECT_EQ(hits(query), Paths {});
    query.archives = FindQuery::Archives::searched;
    hits(query);
    EXPECT_EQ(results->hitsFrom(0),
        (std::vector<FindResults::Hit> { { dir / "root/sub/pack.zip", "report.txt", true, "docs/" } }));
}

TEST(FindJobOnAServerTest, NamesTextAndFolderSizesComeThroughTheServersListingAndAStoppedServerFailsTheJob)
{
    SshServer server;
    server.trustHostKey();
    TempDir dir;
    const std::string root = dir.folder("root");
    dir.write("root/notes.txt", "Hello world");
    dir.write("root/blob.dat", std::string("\0\0hello", 7));
    dir.write("root/sub/deep.txt", "say hello");
    dir.write("root/sub/far/end.md", "hello");
    std::filesystem::create_directory_symlink("..", dir / "root/sub/up");
    JobScript connecting;
    const auto door = SftpDoor::open(server.place(), connecting.control);
    const auto find = [&](const std::string& patterns, const std::string& text, JobOutcome::End ends) {
        FindQuery query;
        query.root = root;
        query.namePatterns = patterns;
        query.text = text;
        auto results = std::make_shared<FindResults>();
        JobScript finding;
        EXPECT_EQ(finding.run(FindJob(query, results, door)).end, ends);
        Paths paths;
        for (const FindResults::Hit& hit : results->hitsFrom(0))
            paths.push_back(hit.folder.substr(root.size()) + "/" + hit.name);
        std::sort(paths.begin(), paths.end());
        return paths;
    };
    const auto measure = [&](std::vector<std::string> folders, JobOutcome::End ends) {
        std::map<std::string, FolderSizeJob::Size> sizes;
        const auto measured
            = [&](const std::string& path, const FolderSizeJob::Size& size) { sizes[path] = size; };
        JobScript measuring;
        EXPECT_EQ(measuring.run(FolderSizeJob(std::move(folders), measured, door)).end, ends);
        return sizes;
    };

    // The link leading back up is listed, never entered; a binary file is not searched for text.
    EXPECT_EQ(find("*.txt", "", JobOutcome::End::completed), (Paths { "/notes.txt", "/sub/deep.txt" }));
    EXPECT_EQ(find("*", "hello", JobOutcome::End::completed),
        (Paths { "/notes.txt", "/sub/deep.txt", "/sub/far/end.md" }));
    const auto sizes = measure({ root + "/sub", root }, JobOutcome::End::completed);
    EXPECT_EQ(sizes.at(root + "/sub"), (FolderSizeJob::Size { 14, 3, 1, 0, "" }));
    EXPECT_EQ(sizes.at(root).bytes, 32);

    // Never this machine's folder of the same path in its place.
    server.stop();
    EXPECT_EQ(find("*.txt", "", JobOutcome::End::failed), Paths {});
    EXPECT_TRUE(measure({ root }, JobOutcome::End::failed).empty());
}
