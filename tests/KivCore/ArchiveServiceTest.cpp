#include "archives/ArchiveService.h"
#include "JobScript.h"
#include "archives/ExtractJob.h"

#include "RowNames.h"
#include "TempDir.h"
#include "base/ErrorText.h"
#include "base/KivError.h"

#include <algorithm>
#include <map>
#include <set>

using namespace kiv;
using namespace kiv::test;
using Kind = FileEntry::Kind;
using Parent = ArchiveService::ParentRow;
using Member = ArchiveService::Member;
using Files = std::set<std::string>;

namespace {

// The files every test archive holds, each holding its own name: names that trip up tools and parsers.
const Files memberFiles { "docs/a.txt", "docs/sub/b.txt", "docs/sub/c/d.txt", "docs/subway.txt", "read me.md",
    "a[1].txt", "a1.txt", "a*.txt", "two  spaces.txt", "-dash.txt", "Name", "notes.zip", "back\\slash",
    "a -> b.txt", "latin\xE9.txt" };
const char* const archives[] { "full.zip", "flat.zip", "full.tar", "UPPER.TGZ", "UPPER.TAR.GZ" };

Files regularFilesBelow(const std::string& folder)
{
    Files files;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
        if (item.is_regular_file())
            files.insert(std::filesystem::relative(item.path(), folder).string());
    }
    return files;
}

// Real archives of one source tree (flat.zip without folder members), built once with zip and tar.
class ArchiveServiceTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        for (const auto& path : memberFiles)
            s_scratch.write("source/" + path, path);
        s_scratch.run(
            "cd source && zip -qr ../full.zip -- * && zip -qrD ../flat.zip -- * && tar -cf ../full.tar "
            "-- * && tar -czf ../UPPER.TGZ -- * && tar -czf ../UPPER.TAR.GZ -- *");
        s_scratch.write("damaged.zip", "PK\x03\x04 this is no archive");
        s_scratch.write("damaged.tgz", "\x1f\x8b\x08 this is no archive");
    }

    static std::string archive(const std::string& name) { return s_scratch / name; }
    // A fresh folder under the test's destination for one archive and member.
    std::string fresh(const std::string& archive, const std::string& member)
    {
        return m_destination / std::to_string(std::hash<std::string> {}(archive + member));
    }

    static inline test::TempDir s_scratch { std::filesystem::temp_directory_path() };
    ArchiveService m_archives;
    test::TempDir m_destination;
};

} // namespace

TEST_F(ArchiveServiceTest, EveryListedFileOrFolderCanBeExtractedAloneUnderItsOwnName)
{
    for (const std::string path : archives) {
        SCOPED_TRACE(path);
        std::map<std::string, std::int64_t> listedFiles;
        for (const auto& entry : m_archives.listRawEntries(archive(path))) {
            if (!entry.path.ends_with('/'))
                listedFiles[entry.path] = entry.size;
        }
        ASSERT_EQ(listedFiles.size(), memberFiles.size());
        for (const auto& member : memberFiles) {
            SCOPED_TRACE(member);
            EXPECT_EQ(listedFiles[member], std::ssize(member));
            m_archives.extract(archive(path), member, Member::file, fresh(path, member));
            EXPECT_EQ(regularFilesBelow(fresh(path, member)), Files { member });
            EXPECT_EQ(test::readFile(fresh(path, member) + "/" + member), member);
        }
        // A folder comes with its whole subtree and no sibling that shares its name's start.
        m_archives.extract(archive(path), "docs/sub", Member::folder, fresh(path, "docs/sub"));
        EXPECT_EQ(
            regularFilesBelow(fresh(path, "docs/sub")), (Files { "docs/sub/b.txt", "docs/sub/c/d.txt" }));
    }
    for (const auto& name : { "plain.tar.bz2", "missing.zip", "missing.tgz", "damaged.zip", "damaged.tgz" })
        EXPECT_TRUE(m_archives.listRawEntries(archive(name)).empty()) << name;
}

TEST_F(ArchiveServiceTest, ExtractionCreatesTheDestinationAndAsksBeforeReplacing)
{
    for (const auto& path : { archive("full.zip"), archive("UPPER.TAR.GZ") }) {
        SCOPED_TRACE(path);
        auto to = fresh(path, "") + "/new/folder";
        auto mine = m_destination.write(
            std::filesystem::relative(to, m_destination.path()).string() + "/read me.md", "old");
        JobScript keeping({ JobAnswer::skip });
        EXPECT_EQ(keeping.run(ExtractJob(path, {}, to)).summary, "Extracted 1 of 1 item; 1 skipped");
        ASSERT_EQ(keeping.asked.size(), 1u);
        EXPECT_EQ(keeping.asked[0].target.path, mine);
        EXPECT_EQ(test::readFile(mine), "old");
        EXPECT_EQ(regularFilesBelow(to), memberFiles);

        // A folder that exists takes the members in; its files are replaced when the user says so.
        JobScript replacing({ JobAnswer::overwriteAll });
        EXPECT_EQ(replacing.run(ExtractJob(path, { { "docs/sub", Member::folder } }, to)).end,
            JobOutcome::End::completed);
        EXPECT_EQ(replacing.asked.size(), 1u);

        // Cancelled: the tool stops and nothing of it is placed.
        JobScript cancelled;
        cancelled.control.cancel();
        EXPECT_EQ(cancelled.run(ExtractJob(path, {}, to + "/fresh")).end, JobOutcome::End::cancelled);
        EXPECT_TRUE(std::filesystem::is_empty(to + "/fresh"));
        for (const auto& item : std::filesystem::directory_iterator(to))
            EXPECT_FALSE(item.path().filename().string().starts_with(".tavrin-")) << "staging left behind";
    }
}

TEST_F(ArchiveServiceTest, FailedExtractionsSayWhy)
{
    auto to = m_destination.path();
    auto failure = [](ExtractJob&& job) { return JobScript().run(std::move(job)).summary; };
    for (const auto& [text, part] :
        { std::pair { failure(ExtractJob(archive("full.tar"), { { "nothing", Member::file } }, to)),
              "nothing: Not found in archive" },
            { failure(ExtractJob(archive("missing.zip"), {}, to)), "missing.zip" },
            { failure(ExtractJob(archive("damaged.tgz"), {}, to)), "gzip" } })
        EXPECT_NE(text.find(part), std::string::npos) << text << " lacks " << part;
    auto blocker = m_destination.write("blocker", "a file");
    EXPECT_EQ(failure(ExtractJob(archive("full.zip"), {}, blocker + "/inside")),
        "Not a directory: " + blocker + "/inside");
    EXPECT_EQ(test::readFile(blocker), "a file");
}

TEST_F(ArchiveServiceTest, ChildrenAreParentThenFoldersThenFilesInNaturalOrderWithNoEmptyRows)
{
    // Folders show even when the archive lists no folder members.
    auto listed = m_archives.listRawEntries(archive("flat.zip"));
    EXPECT_EQ(namesOf(m_archives.children("docs/sub/", listed, Parent::omit)),
        (std::vector<std::string> { "c", "b.txt" }));

    const std::vector<ArchiveRawEntry> entries { { "docs/", 0, "" }, { "docs/a.txt", 5, "" },
        { "docs/sub/b.txt", 6, "" }, { "docs/sub/c/d.txt", 7, "" }, { "file10.txt", 1, "" },
        { "File9.txt", 1, "" }, { "/abs.txt", 1, "" }, { "x//y.txt", 1, "" }, { "notes.zip", 1, "" },
        { "File9.txt", 2, "" }, { "Dir10/z", 1, "" } };
    const std::vector<FileEntry> docs {
        { "", "..", Kind::parentDirectory, 0, std::nullopt, std::nullopt },
        { "docs/sub/", "sub", Kind::directory, 0, std::nullopt, std::nullopt },
        { "docs/a.txt", "a.txt", Kind::regularFile, 5, std::nullopt, std::nullopt },
    };
    EXPECT_EQ(m_archives.children("docs/", entries, Parent::include), docs);
    auto root = m_archives.children("", entries, Parent::omit);
    EXPECT_EQ(namesOf(root),
        (std::vector<std::string> {
            "Dir10", "docs", "x", "File9.txt", "File9.txt", "file10.txt", "notes.zip" }));
    EXPECT_EQ(root.back().kind, Kind::archive);
    EXPECT_EQ(m_archives.children("", entries, Parent::include).front().id, "");
    EXPECT_TRUE(m_archives.children("x/", entries, Parent::omit).empty());
    EXPECT_TRUE(m_archives.children("nowhere/", entries, Parent::omit).empty());
    EXPECT_EQ(m_archives.parentOf("docs/sub/"), "docs/");
    EXPECT_EQ(m_archives.parentOf("docs/"), "");
    EXPECT_EQ(m_archives.parentOf(""), "");
}
