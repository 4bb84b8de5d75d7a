#include "archives/ArchiveService.h"

#include "RowNames.h"
#include "TempDir.h"
#include "base/ErrorText.h"
#include "base/KivError.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

namespace kiv {

namespace {

using Kind = FileEntry::Kind;
using Parent = ArchiveService::ParentRow;
using Member = ArchiveService::Member;

// The files every test archive holds, with their contents: names that trip up tools and parsers.
const std::map<std::string, std::string> memberFiles {
    { "docs/a.txt", "a" },
    { "docs/sub/b.txt", "b" },
    { "docs/sub/c/d.txt", "d" },
    { "docs/subway.txt", "subway" },
    { "read me.md", "readme" },
    { "a[1].txt", "bracket" },
    { "a1.txt", "plain" },
    { "a*.txt", "star" },
    { "two  spaces.txt", "two spaces" },
    { "-dash.txt", "dash" },
    { "Name", "called Name" },
    { "notes.zip", "not a zip" },
    { "back\\slash", "backslash" },
    { "a -> b.txt", "not a link" },
    { "latin\xE9.txt", "latin-1" },
};

std::set<std::string> regularFilesBelow(const std::string& folder)
{
    std::set<std::string> files;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
        if (item.is_regular_file())
            files.insert(std::filesystem::relative(item.path(), folder).string());
    }
    return files;
}

// A fresh folder name under `base` for one archive and member.
std::string freshFolder(const test::TempDir& base, const std::string& archive, const std::string& member)
{
    return base / std::to_string(std::hash<std::string> {}(archive + member));
}

using test::namesOf;

// Real archives of one source tree, built once for the whole suite with zip and tar.
class ArchiveServiceTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_scratch = std::make_unique<test::TempDir>();
        for (const auto& [path, content] : memberFiles)
            s_scratch->write("source/" + path, content);
        s_scratch->run(
            "cd source && zip -qr ../full.zip -- * && zip -qrD ../flat.zip -- * && tar -cf ../full.tar "
            "-- * && tar -czf ../UPPER.TGZ -- * && tar -czf ../UPPER.TAR.GZ -- *");
        s_scratch->write("damaged.zip", "PK\x03\x04 this is no archive");
        s_scratch->write("damaged.tgz", "\x1f\x8b\x08 this is no archive");
    }
    static void TearDownTestSuite() { s_scratch.reset(); }

    static std::string archive(const std::string& name) { return *s_scratch / name; }

    static std::vector<std::string> allArchives()
    {
        return { archive("full.zip"), archive("flat.zip"), archive("full.tar"), archive("UPPER.TGZ"),
            archive("UPPER.TAR.GZ") };
    }

    ArchiveService m_archives;
    test::TempDir m_destination;

private:
    static std::unique_ptr<test::TempDir> s_scratch;
};

std::unique_ptr<test::TempDir> ArchiveServiceTest::s_scratch;

} // namespace

TEST_F(ArchiveServiceTest, EveryListedFileOrFolderCanBeExtractedAloneUnderItsOwnName)
{
    for (const auto& path : allArchives()) {
        SCOPED_TRACE(path);
        std::map<std::string, std::int64_t> listedFiles;
        for (const auto& entry : m_archives.listRawEntries(path)) {
            if (!entry.path.ends_with('/'))
                listedFiles[entry.path] = entry.size;
        }
        ASSERT_EQ(listedFiles.size(), memberFiles.size());
        for (const auto& [member, content] : memberFiles) {
            SCOPED_TRACE(member);
            EXPECT_EQ(listedFiles[member], static_cast<std::int64_t>(content.size()));
            auto to = freshFolder(m_destination, path, member);
            m_archives.extract(path, member, Member::file, to);
            EXPECT_EQ(regularFilesBelow(to), std::set<std::string> { member });
            EXPECT_EQ(test::readFile(to + "/" + member), content);
        }
        // A folder comes with its whole subtree and no sibling that shares its name's start.
        auto to = freshFolder(m_destination, path, "docs/sub");
        m_archives.extract(path, "docs/sub", Member::folder, to);
        EXPECT_EQ(regularFilesBelow(to), (std::set<std::string> { "docs/sub/b.txt", "docs/sub/c/d.txt" }));
    }
}

TEST_F(ArchiveServiceTest, UnsupportedMissingAndDamagedArchivesListNothing)
{
    for (const auto& name : { "plain.tar.bz2", "missing.zip", "missing.tgz", "damaged.zip", "damaged.tgz" })
        EXPECT_TRUE(m_archives.listRawEntries(archive(name)).empty()) << name;
}

TEST_F(ArchiveServiceTest, FoldersShowEvenWhenTheArchiveListsNoFolderMembers)
{
    auto entries = m_archives.listRawEntries(archive("flat.zip"));
    ASSERT_TRUE(std::none_of(entries.begin(), entries.end(), [](auto& e) { return e.path.ends_with('/'); }));
    auto root = m_archives.children("", entries, Parent::include);
    ASSERT_GE(root.size(), 2u);
    EXPECT_EQ(root[1].id, "docs/");
    EXPECT_EQ(root[1].kind, Kind::directory);
    EXPECT_EQ(namesOf(m_archives.children("docs/sub/", entries, Parent::omit)),
        (std::vector<std::string> { "c", "b.txt" }));
}

TEST_F(ArchiveServiceTest, ExtractionCreatesTheDestinationAndNeverReplacesWhatIsThere)
{
    for (const auto& path : { archive("full.zip"), archive("UPPER.TAR.GZ") }) {
        SCOPED_TRACE(path);
        auto to = freshFolder(m_destination, path, "") + "/new/folder";
        auto mine = to + "/read me.md";
        m_destination.write(std::filesystem::relative(mine, m_destination.path()).string(), "old");
        try {
            m_archives.extractAll(path, to);
            ADD_FAILURE() << "an existing file was silently passed over or replaced";
        } catch (const KivError& error) {
            EXPECT_EQ(error.description(), "Already exists: " + mine);
        }
        EXPECT_EQ(test::readFile(mine), "old");
        EXPECT_EQ(regularFilesBelow(to).size(), memberFiles.size());
        EXPECT_EQ(test::readFile(to + "/two  spaces.txt"), "two spaces");

        // A folder that exists takes the members in; only files would be replaced.
        EXPECT_THROW(m_archives.extract(path, "docs/sub", Member::folder, to), KivError);
        m_archives.extract(path, "docs/sub", Member::folder, to + "/fresh");
        EXPECT_EQ(regularFilesBelow(to + "/fresh").size(), 2u);
        for (const auto& item : std::filesystem::directory_iterator(to))
            EXPECT_FALSE(item.path().filename().string().starts_with(".tavrin-extract"))
                << "staging left behind";
    }
}

TEST_F(ArchiveServiceTest, FailedExtractionsSayWhy)
{
    auto to = m_destination.path();
    auto failureText = [](auto&& extraction) {
        try {
            extraction();
        } catch (const std::exception& error) {
            return userMessage(error);
        }
        return std::string("no failure");
    };
    const std::pair<std::string, std::string> failures[] {
        { failureText([&] { m_archives.extract(archive("full.tar"), "nothing", Member::file, to); }),
            "nothing: Not found in archive" },
        { failureText([&] { m_archives.extractAll(archive("missing.zip"), to); }), "missing.zip" },
        { failureText([&] { m_archives.extractAll(archive("damaged.tgz"), to); }), "gzip" },
    };
    for (const auto& [text, part] : failures)
        EXPECT_NE(text.find(part), std::string::npos) << text << " lacks " << part;
    auto blocker = m_destination.write("blocker", "a file");
    EXPECT_EQ(failureText([&] { m_archives.extractAll(archive("full.zip"), blocker + "/inside"); }),
        "Not a directory: " + blocker + "/inside");
    EXPECT_EQ(test::readFile(blocker), "a file");
}

TEST(ArchiveTreeTest, ChildrenAreParentThenFoldersThenFilesInNaturalOrderWithNoEmptyRows)
{
    ArchiveService archives;
    const std::vector<ArchiveRawEntry> entries { { "docs/", 0, "" }, { "docs/a.txt", 5, "" },
        { "docs/sub/b.txt", 6, "" }, { "docs/sub/c/d.txt", 7, "" }, { "file10.txt", 1, "" },
        { "File9.txt", 1, "" }, { "/abs.txt", 1, "" }, { "x//y.txt", 1, "" }, { "notes.zip", 1, "" },
        { "File9.txt", 2, "" }, { "Dir10/z", 1, "" } };

    const std::vector<FileEntry> docs {
        { "", "..", Kind::parentDirectory, 0, std::nullopt, std::nullopt },
        { "docs/sub/", "sub", Kind::directory, 0, std::nullopt, std::nullopt },
        { "docs/a.txt", "a.txt", Kind::regularFile, 5, std::nullopt, std::nullopt },
    };
    EXPECT_EQ(archives.children("docs/", entries, Parent::include), docs);
    auto root = archives.children("", entries, Parent::omit);
    EXPECT_EQ(namesOf(root),
        (std::vector<std::string> {
            "Dir10", "docs", "x", "File9.txt", "File9.txt", "file10.txt", "notes.zip" }));
    EXPECT_EQ(root.back().kind, Kind::archive);
    EXPECT_EQ(archives.children("", entries, Parent::include).front().id, "");
    EXPECT_TRUE(archives.children("x/", entries, Parent::omit).empty());
    EXPECT_TRUE(archives.children("nowhere/", entries, Parent::omit).empty());

    EXPECT_EQ(archives.parentOf("docs/sub/"), "docs/");
    EXPECT_EQ(archives.parentOf("docs/"), "");
    EXPECT_EQ(archives.parentOf(""), "");
}

} // namespace kiv
