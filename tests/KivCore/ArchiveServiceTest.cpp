#include "archives/ArchiveService.h"
#include "JobScript.h"
#include "archives/ArchiveTree.h"
#include "archives/ExtractJob.h"

#include "RowNames.h"
#include "TempDir.h"
#include "base/ErrorText.h"
#include "base/KivError.h"
#include "jobs/ItemCounter.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"

#include <algorithm>
#include <map>
#include <set>
#include <sys/stat.h>

using namespace kiv;
using namespace kiv::test;
using EntryKind = FileEntry::Kind;
using Parent = ArchiveTree::ParentRow;
using Member = ArchiveService::Member;
using Files = std::set<std::string>;

namespace {

// The files every test archive holds, each holding its own name: names that trip up tools and parsers.
const Files memberFiles { "docs/a.txt", "docs/sub/b.txt", "docs/sub/c/d.txt", "docs/subway.txt", "read me.md",
    "a[1].txt", "a1.txt", "a*.txt", "two  spaces.txt", "-dash.txt", "Name", "notes.zip", "a -> b.txt",
    "latin\xE9.txt" };
const char* const archives[] { "full.zip", "flat.zip", "full.tar", "UPPER.TGZ", "UPPER.TAR.GZ" };

// Names the text of a listing tool could not carry. A "\" in a zip is a folder separator, as
// archives made on Windows need.
const Files awkwardFiles { " leading.txt", "new\nline.txt", "tab\there", "   5  2026-12-06 11:44   fake.txt",
    "docs/a.txt", "\xC3\xA9t\xC3\xA9.txt", "latin\xE9.txt", "a -> b.txt", "-dash.txt" };
// A name that is not UTF-8, which formats that store names as Unicode cannot hold.
const std::string notUtf8 = "latin\xE9.txt";
// Every format the tests can make, each holding awkwardFiles; the Unicode ones come last.
const char* const formats[] { "names.zip", "names.tar", "names.tgz", "names.tar.xz", "names.tar.bz2",
    "names.tar.zst", "names.cpio", "names-utf8.zip", "names.7z" };
constexpr long awkwardTime = 1700000000; // the files' modification time, in whole seconds

Files regularFilesBelow(const std::string& folder)
{
    Files files;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
        if (item.is_regular_file())
            files.insert(std::filesystem::relative(item.path(), folder).string());
    }
    return files;
}

// The text the user reads for the failure of `action`.
template <typename Action> std::string failureText(Action action)
{
    try {
        action();
    } catch (const std::exception& error) {
        return userMessage(error);
    }
    return "no failure";
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
        for (const auto& path : awkwardFiles)
            s_scratch.write("awkward/" + path, path);
        s_scratch.run("cd awkward && find . -exec touch -h -d @" + std::to_string(awkwardTime)
            + " {} + && zip -qr ../names.zip -- * && tar -cf "
              "../names.tar -- * && tar -czf ../names.tgz -- * && tar -cJf ../names.tar.xz -- * && tar -cjf "
              "../names.tar.bz2 -- * && bsdtar --zstd -cf ../names.tar.zst -- * && bsdtar --format cpio -cf "
              "../names.cpio -- * && tar -cf ../dotted.tar . && "
              "tar -cPf ../climbing.tar --transform 's,^docs/a.txt,../escaped.txt,;s,^-dash.txt,/abs.txt,' "
              "docs/a.txt -- -dash.txt && zip -qP secret ../locked.zip -- -dash.txt && rm latin* && bsdtar "
              "--format zip -cf ../names-utf8.zip -- * && bsdtar --format 7zip -cf ../names.7z -- *");
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

TEST_F(ArchiveServiceTest, EveryFormatListsEachMemberExactlyWithSizeAndTime)
{
    const auto stamp = FileTime(std::chrono::seconds(awkwardTime));
    for (const std::string path : formats) {
        SCOPED_TRACE(path);
        std::map<std::string, std::int64_t> listedFiles;
        for (const auto& entry : m_archives.listRawEntries(archive(path))) {
            EXPECT_EQ(entry.modificationDate, stamp) << entry.path;
            if (!entry.path.ends_with('/'))
                listedFiles[entry.path] = entry.size;
        }
        std::map<std::string, std::int64_t> expected;
        for (const auto& member : awkwardFiles)
            expected[member] = std::ssize(member);
        if (path.starts_with("names-utf8") || path.ends_with(".7z"))
            expected.erase(notUtf8);
        EXPECT_EQ(listedFiles, expected);
    }
}

TEST_F(ArchiveServiceTest, NamesThatClimbOutOrPointAtTheRootAreShownHarmlessly)
{
    EXPECT_EQ(
        namesOf(ArchiveTree(m_archives.listRawEntries(archive("dotted.tar"))).children("", Parent::include)),
        (std::vector<std::string> { "..", "docs", "   5  2026-12-06 11:44   fake.txt", " leading.txt",
            "-dash.txt", "a -> b.txt", "\xC3\xA9t\xC3\xA9.txt", "latin\xE9.txt", "new\nline.txt",
            "tab\there" }));
    const auto climbing = m_archives.listRawEntries(archive("climbing.tar"));
    ASSERT_EQ(climbing.size(), 2u);
    EXPECT_EQ(climbing[0].path, "(..)/escaped.txt");
    EXPECT_EQ(climbing[1].path, "abs.txt");
    EXPECT_EQ(namesOf(ArchiveTree(climbing).children("", Parent::include)),
        (std::vector<std::string> { "..", "(..)", "abs.txt" }));

    const auto locked = m_archives.listRawEntries(archive("locked.zip"));
    ASSERT_EQ(locked.size(), 1u);
    EXPECT_TRUE(locked[0].encrypted);
    EXPECT_EQ(locked[0].size, 9);
}

TEST_F(ArchiveServiceTest, WhatCannotBeReadAsAnArchiveIsRefusedWithTheReason)
{
    ASSERT_EQ(::mkfifo(archive("pipe.zip").c_str(), 0600), 0);
    for (const auto& [name, reason] :
        { std::pair { "damaged.zip", "damaged.zip: " }, { "damaged.tgz", "damaged.tgz: " },
            { "missing.zip", "No such file or directory: " }, { "pipe.zip", "Not a regular file: " } }) {
        const auto text = failureText([&, member = name] { m_archives.listRawEntries(archive(member)); });
        EXPECT_NE(text.find(reason), std::string::npos) << text;
        EXPECT_NE(text.find(name), std::string::npos) << text;
    }
}

TEST_F(ArchiveServiceTest, EveryListedFileOrFolderCanBeExtractedAloneUnderItsOwnName)
{
    for (const std::string path : formats) {
        SCOPED_TRACE(path);
        for (const auto& entry : m_archives.listRawEntries(archive(path))) {
            if (entry.path.ends_with('/'))
                continue;
            SCOPED_TRACE(entry.path);
            const auto to = fresh(path, entry.path);
            const auto name = std::filesystem::path(entry.path).filename().string();
            m_archives.extract(archive(path), entry.path, Member::file, to);
            EXPECT_EQ(regularFilesBelow(to), Files { name });
            EXPECT_EQ(test::readFile(to + "/" + name), entry.path);
            struct stat info
            {
            };
            EXPECT_EQ(::stat((to + "/" + name).c_str(), &info), 0);
            EXPECT_EQ(info.st_mtime, awkwardTime);
        }
    }
    // A folder comes with its whole subtree and no sibling that shares its name's start.
    for (const std::string path : archives) {
        m_archives.extract(archive(path), "docs/sub", Member::folder, fresh(path, "docs/sub"));
        EXPECT_EQ(regularFilesBelow(fresh(path, "docs/sub")), (Files { "sub/b.txt", "sub/c/d.txt" })) << path;
    }
}

TEST_F(ArchiveServiceTest, NothingIsWrittenOutsideAndLinksFoldersAndLockedMembersComeOutRight)
{
    const auto outside = m_destination.folder("outside");
    s_scratch.run(
        "mkdir -p odd/ro odd/links && cd odd && printf data >links/a && ln links/a links/hard && printf x "
        ">ro/f && chmod 555 ro && ln -s "
        + outside
        + " out && tar -cf ../odd.tar links ro out && tar -rf "
          "../odd.tar --transform 's,^links/a,out/evil.txt,' links/a && chmod 755 ro");
    const auto to = m_destination.path() + "/to";
    JobScript script({ JobAnswer::skip });
    EXPECT_EQ(script.run(ExtractJob(archive("odd.tar"), {}, to)).end, JobOutcome::End::incomplete);
    ASSERT_EQ(script.asked.size(), 1u);
    EXPECT_NE(script.asked[0].message.find("through a link"), std::string::npos) << script.asked[0].message;
    EXPECT_TRUE(std::filesystem::is_empty(outside)) << "written through a link that points out";
    EXPECT_EQ(std::filesystem::read_symlink(to + "/out"), outside);
    struct stat a
    {
    }, hard {}, ro {};
    ASSERT_EQ(::stat((to + "/links/a").c_str(), &a) | ::stat((to + "/links/hard").c_str(), &hard), 0);
    EXPECT_EQ(a.st_ino, hard.st_ino);
    EXPECT_EQ(test::readFile(to + "/ro/f"), "x");
    ASSERT_EQ(::stat((to + "/ro").c_str(), &ro), 0);
    EXPECT_EQ(ro.st_mode & 0777, 0555u);

    // A hard link alone brings its data; ".." and "/" members land inside.
    for (const std::string name : { "a", "hard" }) { // either may be the one tar stored as a link
        m_archives.extract(archive("odd.tar"), "links/" + name, Member::file, to + "/alone");
        EXPECT_EQ(test::readFile(to + "/alone/" + name), "data");
    }
    m_archives.extract(archive("climbing.tar"), "(..)", Member::folder, to + "/climb");
    m_archives.extract(archive("climbing.tar"), "abs.txt", Member::file, to + "/climb");
    EXPECT_EQ(regularFilesBelow(to + "/climb"), (Files { "(..)/escaped.txt", "abs.txt" }));
    EXPECT_EQ(failureText([&] { m_archives.extract(archive("locked.zip"), "-dash.txt", Member::file, to); }),
        "-dash.txt: encrypted archives are not supported");
}

TEST_F(ArchiveServiceTest, ExtractionCreatesTheDestinationAndAsksBeforeReplacing)
{
    for (const auto& path : { archive("full.zip"), archive("UPPER.TAR.GZ") }) {
        SCOPED_TRACE(path);
        auto to = fresh(path, "") + "/new/folder";
        auto mine = m_destination.write(
            std::filesystem::relative(to, m_destination.path()).string() + "/read me.md", "old");
        JobScript keeping({ JobAnswer::skip });
        EXPECT_EQ(keeping.run(ExtractJob(path, {}, to)).summary, "Extracted 16 of 17 items; 1 skipped")
            << "fourteen files and three folders";
        ASSERT_EQ(keeping.asked.size(), 1u);
        EXPECT_EQ(keeping.asked[0].target.path, mine);
        EXPECT_EQ(test::readFile(mine), "old");
        EXPECT_EQ(regularFilesBelow(to), memberFiles);

        // A folder that exists takes the members in; its files are replaced when the user says so.
        JobScript replacing({ JobAnswer::overwriteAll });
        EXPECT_EQ(replacing.run(ExtractJob(path, { { "docs/sub", Member::folder } }, to + "/docs")).end,
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

TEST_F(ArchiveServiceTest, DamagedMembersFailThroughTheQuestionAndLeaveNoPartialFile)
{
    // A stored zip whose second member has one byte changed, so its checksum no longer matches, and
    // a tar whose second member's header is damaged.
    TempDir made;
    made.write("in/a.txt", "first member");
    made.write("in/b.txt", std::string(5000, 'b'));
    made.write("in/c.txt", "third member");
    made.run("cd in && zip -q0 ../crc.zip a.txt b.txt c.txt && tar -cf ../header.tar a.txt b.txt c.txt");
    const auto damage = [&](const std::string& name, std::size_t at) {
        std::string bytes = readFile(made / name);
        bytes[at] ^= 0x11;
        std::ofstream(made / name, std::ios::binary) << bytes;
    };
    damage("crc.zip", readFile(made / "crc.zip").find(std::string(5000, 'b')) + 100);
    damage("header.tar", 1024 + 150); // the checksum field of the second header

    const auto leftOver = [](const std::string& folder) {
        Files names;
        for (const auto& item : std::filesystem::directory_iterator(folder))
            names.insert(item.path().filename().string());
        return names;
    };
    for (const std::string name : { "crc.zip", "header.tar" }) {
        SCOPED_TRACE(name);
        const std::string to = m_destination / name;
        JobScript skipping({ JobAnswer::skip });
        EXPECT_EQ(skipping.run(ExtractJob(made / name, {}, to)).end, JobOutcome::End::incomplete);
        ASSERT_EQ(skipping.asked.size(), 1u);
        EXPECT_EQ(skipping.asked[0].kind, JobQuestion::Kind::itemError);
        EXPECT_NE(skipping.asked[0].message.find(made / name + ": "), std::string::npos)
            << skipping.asked[0].message;
        EXPECT_EQ(leftOver(to), (Files { "a.txt", "c.txt" })) << "a damaged member written, or half of it";
    }
    // A retry reads the member again (and finds it damaged again); alone, or for the viewer.
    JobScript retrying({ JobAnswer::retry, JobAnswer::skip });
    EXPECT_EQ(
        retrying.run(ExtractJob(made / "crc.zip", { { "b.txt", Member::file } }, m_destination / "one")).end,
        JobOutcome::End::incomplete);
    EXPECT_EQ(retrying.asked.size(), 2u);
    EXPECT_TRUE(std::filesystem::is_empty(m_destination / "one"));
    EXPECT_NE(failureText([&] {
        m_archives.extract(made / "crc.zip", "b.txt", Member::file, m_destination / "two");
    }).find("b.txt is damaged: "),
        std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(m_destination / "two"));
}

TEST_F(ArchiveServiceTest, ACutShortArchiveListsWhatCameBeforeAndGivesItsIntactMembers)
{
    TempDir made;
    made.write("in/a.txt", "first member");
    made.write("in/b.txt", "second member");
    made.run("head -c 400000 /dev/urandom > in/c.bin && tar -czf cut.tgz -C in a.txt b.txt c.bin"
             " && truncate -s 200000 cut.tgz");
    std::string damage;
    const auto members = m_archives.listRawEntries(made / "cut.tgz", nullptr, &damage);
    std::vector<std::string> paths;
    for (const auto& member : members)
        paths.push_back(member.path);
    EXPECT_EQ(paths, (std::vector<std::string> { "a.txt", "b.txt", "c.bin" }));
    EXPECT_EQ(damage.rfind(made / "cut.tgz: ", 0), 0u) << damage;
    EXPECT_NE(damage.find(" after c.bin; only what comes before is listed"), std::string::npos) << damage;
    EXPECT_NE(failureText([&] { m_archives.listRawEntries(made / "cut.tgz"); }), "no failure")
        << "only a caller ready for it gets a part";

    // The intact members come out whole; the one cut short fails through the question.
    const std::string to = m_destination / "out";
    JobScript copying;
    EXPECT_EQ(
        copying
            .run(ExtractJob(made / "cut.tgz", { { "a.txt", Member::file }, { "b.txt", Member::file } }, to))
            .end,
        JobOutcome::End::completed);
    EXPECT_EQ(std::pair(readFile(to + "/a.txt"), readFile(to + "/b.txt")),
        std::pair(std::string("first member"), std::string("second member")));
    JobScript skipping({ JobAnswer::skip });
    EXPECT_EQ(skipping.run(ExtractJob(made / "cut.tgz", { { "c.bin", Member::file } }, to)).end,
        JobOutcome::End::incomplete);
    EXPECT_FALSE(std::filesystem::exists(to + "/c.bin"));
}

TEST_F(ArchiveServiceTest, FailedExtractionsSayWhy)
{
    auto to = m_destination.path();
    auto failure = [](ExtractJob&& job) { return JobScript().run(std::move(job)).summary; };
    for (const auto& [text, part] :
        { std::pair { failure(ExtractJob(archive("full.tar"), { { "nothing", Member::file } }, to)),
              "nothing: Not found in archive" },
            { failure(ExtractJob(archive("missing.zip"), {}, to)), "missing.zip" },
            { failure(ExtractJob(archive("damaged.tgz"), {}, to)), "damaged.tgz: " } })
        EXPECT_NE(text.find(part), std::string::npos) << text << " lacks " << part;
    auto blocker = m_destination.write("blocker", "a file");
    EXPECT_EQ(failure(ExtractJob(archive("full.zip"), {}, blocker + "/inside")),
        "Not a directory: " + blocker + "/inside");
    EXPECT_EQ(test::readFile(blocker), "a file");
}

TEST_F(ArchiveServiceTest, ChildrenAreParentThenFoldersThenFilesInNaturalOrderWithNoEmptyRows)
{
    // Folders show even when the archive lists no folder members.
    const ArchiveTree flat(m_archives.listRawEntries(archive("flat.zip")));
    EXPECT_EQ(namesOf(flat.children("docs/sub/", Parent::omit)), (std::vector<std::string> { "c", "b.txt" }));

    const FileTime day(std::chrono::hours(24)), twoDays(std::chrono::hours(48));
    auto member = [](std::string path, std::int64_t size, std::optional<FileTime> date = std::nullopt) {
        return ArchiveRawEntry { std::move(path), size, date, false };
    };
    const ArchiveTree entries({ member("docs/a.txt", 5, day), member("docs/sub/b.txt", 6),
        member("docs/sub/c/d.txt", 7), member("docs/", 0, twoDays), member("file10.txt", 1),
        member("File9.txt", 1), member("notes.zip", 1), member("File9.txt", 2), member("Dir10/z", 1) });
    const std::vector<FileEntry> docs {
        { "", "..", EntryKind::parentDirectory, 0, std::nullopt, std::nullopt },
        { "docs/sub/", "sub", EntryKind::directory, 0, std::nullopt, std::nullopt },
        { "docs/a.txt", "a.txt", EntryKind::regularFile, 5, day, std::nullopt },
    };
    EXPECT_EQ(entries.children("docs/", Parent::include), docs);
    auto root = entries.children("", Parent::omit);
    EXPECT_EQ(namesOf(root),
        (std::vector<std::string> { "Dir10", "docs", "File9.txt", "File9.txt", "file10.txt", "notes.zip" }));
    EXPECT_EQ(root.back().kind, EntryKind::archive);
    EXPECT_EQ(root[1].modificationDate, twoDays); // a folder listed after its members still gets its date
    EXPECT_EQ(entries.children("", Parent::include).front().id, "");
    EXPECT_TRUE(entries.children("nowhere/", Parent::omit).empty());
    EXPECT_EQ(ArchiveTree::parentOf("docs/sub/"), "docs/");
    EXPECT_EQ(ArchiveTree::parentOf("docs/"), "");
    EXPECT_EQ(ArchiveTree::parentOf(""), "");
}

TEST_F(ArchiveServiceTest, AListingUnderAJobCountsItsMembersAndStopsOnceCancelled)
{
    ItemCounter::setDelayForTests(std::chrono::microseconds(1)); // members are then counted one by one
    JobControl control;
    const auto listed = m_archives.listRawEntries(archive("flat.zip"), &control);
    const auto counted = control.progress().itemsDone;
    control.cancel();
    bool stopped = false;
    try {
        m_archives.listRawEntries(archive("flat.zip"), &control);
    } catch (const JobCancelled&) {
        stopped = true;
    }
    ItemCounter::setDelayForTests({});
    EXPECT_EQ(counted, std::ssize(listed));
    EXPECT_TRUE(stopped);
}
