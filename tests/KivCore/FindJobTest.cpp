#include "search/FindJob.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"
#include "search/FindResults.h"

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
