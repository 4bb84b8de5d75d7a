#include "files/DeleteJob.h"
#include "files/DirectoryChain.h"
#include "files/SideCount.h"
#include "files/TransferJob.h"
#include "files/TreeRemoval.h"
#include "trash/Trash.h"

#include "JobScript.h"
#include "TempDir.h"

#include <fcntl.h>
#include <future>
#include <sys/resource.h>
#include <thread>

using namespace kiv;
using namespace kiv::test;
using Mode = TransferJob::Mode;
using End = JobOutcome::End;
using namespace std::chrono_literals;

namespace {

TransferJob transfer(Mode mode, const std::vector<std::string>& sources, const std::string& folder)
{
    return TransferJob(mode, TransferJob::keepingNames(sources), folder);
}

struct stat statOf(const std::string& path)
{
    struct stat info = {};
    ::lstat(path.c_str(), &info);
    return info;
}

// A second file system for moves that must copy; empty when there is none.
std::string otherFileSystem(const TempDir& dir)
{
    struct stat shm = {};
    if (::stat("/dev/shm", &shm) != 0 || statOf(dir.path()).st_dev == shm.st_dev)
        return {};
    return "/dev/shm";
}

// Builds `depth` nested folders "d" below `root` with a file at the bottom; returns its path.
std::string deepTree(const std::string& root, int depth)
{
    std::string path = root;
    for (int level = 0; level < depth; ++level) {
        path += "/d";
        ::mkdir(path.c_str(), 0755);
    }
    std::ofstream(path + "/bottom") << "deep";
    return path + "/bottom";
}

class FileJobsTest : public ::testing::Test
{
protected:
    TempDir dir;
};

} // namespace

TEST_F(FileJobsTest, CopyCountsFirstThenCopiesEverythingWithItsAttributes)
{
    auto tree = dir.folder("tree");
    dir.write("tree/sub/inner.txt", "inner");
    auto file = dir.write("tree/run.sh", "#!/bin/sh\n");
    ::chmod(file.c_str(), 0750);
    ::symlink("sub/inner.txt", (tree + "/link").c_str());
    ::mkfifo((tree + "/pipe").c_str(), 0640);
    for (const std::string name : { "with space", "new\nline", "-dash", "latin\xE9-1" })
        dir.write("tree/" + name, "data:" + name);
    const timespec old[2] = { { 1000000000, 0 }, { 1000000000, 500000000 } };
    ::utimensat(AT_FDCWD, file.c_str(), old, 0);
    ::utimensat(AT_FDCWD, (tree + "/sub").c_str(), old, 0);
    // A read-only folder is copied whole: its mode is applied once its contents are in.
    dir.write("tree/sealed/kept.txt", "kept");
    ::chmod((tree + "/sealed").c_str(), 0555);
    const Tree before = treeOf(tree);

    JobScript script;
    const JobOutcome outcome = script.run(transfer(Mode::copy, { tree }, dir.folder("out")));

    const auto copy = dir / "out/tree/";
    EXPECT_EQ(treeOf(copy), before);
    EXPECT_EQ(outcome, (JobOutcome { End::completed, "Copied 12 items" }));
    const JobProgress progress = script.control.progress();
    EXPECT_EQ(std::tuple(progress.itemsTotal, progress.itemsDone, progress.bytesTotal, progress.bytesDone),
        std::tuple(12, 12, 70, 70))
        << "counted first, then all of it done";
    for (auto [name, mode] : { std::pair { "run.sh", 0750u }, { "sealed", 0555u } })
        EXPECT_EQ(statOf(copy + name).st_mode & 07777, mode) << name;
    EXPECT_EQ(statOf(copy + "sub").st_mtim.tv_sec, 1000000000);
    EXPECT_EQ(statOf(copy + "run.sh").st_mtim.tv_nsec, 500000000);
    EXPECT_TRUE(S_ISFIFO(statOf(copy + "pipe").st_mode));

    // A folder into itself or its own subfolder is refused, naming it, before anything happens.
    JobScript refused({ JobAnswer::skip, JobAnswer::skip });
    EXPECT_EQ(refused.run(transfer(Mode::copy, { tree }, tree + "/sub")).end, End::incomplete);
    EXPECT_EQ(refused.run(transfer(Mode::move, { tree }, tree)).end, End::incomplete);
    ASSERT_EQ(refused.asked.size(), 2u);
    EXPECT_NE(refused.asked[0].message.find("into itself"), std::string::npos) << refused.asked[0].message;
    EXPECT_EQ(treeOf(tree), before);

    // Moved to where they already are, by a link to their folder: asked nothing, and left whole.
    std::filesystem::create_directory_symlink(tree, dir / "same");
    JobScript nothingAsked;
    nothingAsked.run(transfer(Mode::move, { tree + "/run.sh", tree + "/sub" }, dir / "same"));
    EXPECT_TRUE(nothingAsked.asked.empty());
    EXPECT_EQ(treeOf(tree), before);
}

TEST_F(FileJobsTest, EveryConflictChoiceDoesWhatItSays)
{
    const std::vector<std::string> names { "a.txt", "b.txt", "c.txt", "d.txt" };
    std::vector<std::string> sources;
    for (const auto& name : names)
        setTime(sources.emplace_back(dir.write("src/" + name, "new " + name)), 2000000000);
    auto target = dir.folder("dst");
    // Every target is older than its source but the last.
    auto reset = [&] {
        std::filesystem::remove_all(target);
        for (const auto& name : names)
            setTime(dir.write("dst/" + name, "old"), name == "d.txt" ? 2100000000 : 1000000000);
    };
    auto contents = [&] {
        std::vector<std::string> found;
        for (const auto& [path, content] : treeOf(target))
            found.push_back(path + "=" + content);
        return found;
    };

    reset();
    JobScript one({ JobAnswer::overwrite, JobAnswer::skip, JobAnswer::keepBoth, JobAnswer::skipAll });
    EXPECT_EQ(one.run(transfer(Mode::copy, sources, target)).summary, "Copied 2 of 4 items; 2 skipped");
    EXPECT_EQ(contents(),
        (std::vector<std::string> {
            "a.txt=new a.txt", "b.txt=old", "c (2).txt=new c.txt", "c.txt=old", "d.txt=old" }));
    ASSERT_EQ(one.asked.size(), 4u);
    const JobQuestion& first = one.asked[0];
    EXPECT_EQ(
        std::tuple(first.kind, first.source.path, first.source.size, first.target.path, first.target.size),
        std::tuple(JobQuestion::Kind::conflict, sources[0], 9, target + "/a.txt", 3));
    EXPECT_EQ(first.target.modified, std::chrono::system_clock::from_time_t(1000000000));

    reset();
    JobScript all({ JobAnswer::overwriteAll });
    EXPECT_EQ(all.run(transfer(Mode::copy, sources, target)).end, End::completed);
    EXPECT_EQ(all.asked.size(), 1u) << "one answer for all";
    EXPECT_EQ(contents(),
        (std::vector<std::string> {
            "a.txt=new a.txt", "b.txt=new b.txt", "c.txt=new c.txt", "d.txt=new d.txt" }));

    reset();
    JobScript older({ JobAnswer::overwriteAllOlder });
    EXPECT_EQ(older.run(transfer(Mode::move, sources, target)).summary, "Moved 3 of 4 items; 1 skipped");
    EXPECT_EQ(contents(),
        (std::vector<std::string> { "a.txt=new a.txt", "b.txt=new b.txt", "c.txt=new c.txt", "d.txt=old" }));
    EXPECT_EQ(treeOf(dir / "src"), (Tree { { "d.txt", "new d.txt" } }))
        << "a skipped move stays at its source";

    // A folder onto a folder merges: only the file inside that is taken asks.
    dir.write("merge/dst/keep.txt", "mine");
    dir.write("merge/dst/same.txt", "old");
    dir.write("src2/dst/same.txt", "new");
    dir.write("src2/dst/added.txt", "added");
    JobScript merge({ JobAnswer::overwrite });
    EXPECT_EQ(merge.run(transfer(Mode::copy, { dir / "src2/dst" }, dir / "merge")).end, End::completed);
    EXPECT_EQ(treeOf(dir / "merge/dst"),
        (Tree { { "keep.txt", "mine" }, { "same.txt", "new" }, { "added.txt", "added" } }));
    EXPECT_EQ(merge.asked.size(), 1u);
}

TEST_F(FileJobsTest, AFileAndAFolderOfOneNameAreReplacedOnlyThroughTheTrashAndOnlyWhenAskedEachTime)
{
    TempDir home;
    const auto trash = std::make_shared<Trash>(home / "Trash");
    const auto transferWithTrash
        = [&](Mode mode, const std::vector<std::string>& sources, std::shared_ptr<const TrashBin> bin) {
              return TransferJob(mode, TransferJob::keepingNames(sources), dir / "dst", std::move(bin));
          };
    dir.write("src/a.txt", "new a");
    dir.write("src/book", "one file");
    dir.write("dst/a.txt", "old a");
    dir.write("dst/book/chapter1", "1");
    dir.write("dst/book/chapter2", "2");
    const Tree book = treeOf(dir / "dst/book");
    const std::vector<std::string> sources { dir / "src/a.txt", dir / "src/book" };

    // "Overwrite all" does not reach across kinds: the folder is asked about, naming both kinds.
    JobScript all({ JobAnswer::overwriteAll, JobAnswer::skip });
    EXPECT_EQ(
        all.run(transferWithTrash(Mode::copy, sources, trash)).summary, "Copied 1 of 2 items; 1 skipped");
    ASSERT_EQ(all.asked.size(), 2u);
    EXPECT_EQ(std::pair(all.asked[1].source.isFolder, all.asked[1].target.isFolder), std::pair(false, true));
    EXPECT_EQ(treeOf(dir / "dst/book"), book);
    EXPECT_EQ(readFile(dir / "dst/a.txt"), "new a");

    // Where there is no trash, Replace is refused with a word, and the folder stays.
    JobScript noTrash({ JobAnswer::overwrite, JobAnswer::skip });
    EXPECT_EQ(noTrash.run(transferWithTrash(Mode::copy, { dir / "src/book" }, nullptr)).end, End::incomplete);
    ASSERT_EQ(noTrash.asked.size(), 2u);
    EXPECT_NE(noTrash.asked[1].message.find("Nothing was replaced"), std::string::npos)
        << noTrash.asked[1].message;
    EXPECT_EQ(treeOf(dir / "dst/book"), book);

    // Replace: the folder goes to the trash whole, the file takes its name.
    JobScript replacing({ JobAnswer::overwrite });
    EXPECT_EQ(
        replacing.run(transferWithTrash(Mode::copy, { dir / "src/book" }, trash)).summary, "Copied 1 item");
    EXPECT_EQ(readFile(dir / "dst/book"), "one file");
    EXPECT_EQ(treeOf(home / "Trash/files/book"), book);

    // Keep both gives the folder a free name; a folder onto a file, moved, sends the file away.
    dir.write("src/notes/n1", "n1");
    dir.write("dst/notes", "a file in the way");
    JobScript keeping({ JobAnswer::keepBoth });
    EXPECT_EQ(keeping.run(transferWithTrash(Mode::copy, { dir / "src/notes" }, trash)).end, End::completed);
    EXPECT_EQ(readFile(dir / "dst/notes (2)/n1"), "n1");
    JobScript moving({ JobAnswer::overwriteAllOlder });
    EXPECT_EQ(
        moving.run(transferWithTrash(Mode::move, { dir / "src/notes" }, trash)).summary, "Moved 1 item");
    EXPECT_EQ(treeOf(dir / "dst/notes"), (Tree { { "n1", "n1" } }));
    EXPECT_EQ(readFile(home / "Trash/files/notes"), "a file in the way");
    EXPECT_FALSE(std::filesystem::exists(dir / "src/notes"));
}

TEST_F(FileJobsTest, CancelLosesNothingWhereverItComes)
{
    dir.write("src/one/x.txt", "x");
    dir.write("src/one/y/z.txt", "z");
    dir.write("src/taken.txt", "new");
    dir.write("src/two/w.txt", "w");
    const Tree source = treeOf(dir / "src");
    const std::vector<std::string> items { dir / "src/one", dir / "src/taken.txt", dir / "src/two" };
    dir.write("dst/taken.txt", "old");

    // While counting: nothing happens.
    JobScript early;
    early.control.cancel();
    EXPECT_EQ(early.run(transfer(Mode::copy, items, dir / "dst")).summary, "Copied 0 of 0 items; cancelled");
    EXPECT_EQ(treeOf(dir / "dst"), (Tree { { "taken.txt", "old" } }));

    // At a question half-way: complete items stay, the rest is not begun.
    JobScript copying({ JobAnswer::cancel });
    EXPECT_EQ(
        copying.run(transfer(Mode::copy, items, dir / "dst")).summary, "Copied 4 of 7 items; cancelled");
    EXPECT_EQ(treeOf(dir / "dst"),
        (Tree { { "one", "/" }, { "one/x.txt", "x" }, { "one/y", "/" }, { "one/y/z.txt", "z" },
            { "taken.txt", "old" } }));
    EXPECT_EQ(treeOf(dir / "src"), source);

    // A move: each item wholly moved or wholly where it was.
    std::filesystem::remove_all(dir / "dst/one");
    JobScript moving({ JobAnswer::cancel });
    EXPECT_EQ(moving.run(transfer(Mode::move, items, dir / "dst")).end, End::cancelled);
    EXPECT_EQ(treeOf(dir / "src"), (Tree { { "taken.txt", "new" }, { "two", "/" }, { "two/w.txt", "w" } }));
    EXPECT_EQ(treeOf(dir / "dst/one"), (Tree { { "x.txt", "x" }, { "y", "/" }, { "y/z.txt", "z" } }));

    // A delete: what it had not reached stays.
    JobScript deleting({ JobAnswer::cancel });
    EXPECT_EQ(deleting.run(DeleteJob({ dir / "dst/one", dir / "missing", dir / "src/two" })).summary,
        "Deleted 4 items; cancelled.\nNo such file or directory: " + dir / "missing");
    EXPECT_FALSE(std::filesystem::exists(dir / "dst/one"));
    EXPECT_EQ(treeOf(dir / "src/two"), (Tree { { "w.txt", "w" } }));
}

TEST_F(FileJobsTest, CancelInTheMiddleOfAFileRemovesOnlyThePartialCopy)
{
    const std::string other = otherFileSystem(dir);
    if (other.empty())
        GTEST_SKIP() << "no second file system at /dev/shm";
    TempDir far(other);
    const std::string big = far / "big";
    {
        // Data, not holes, so the copy has real bytes to write.
        std::ofstream out(big, std::ios::binary);
        const std::string block(1 << 20, 'b');
        for (int mebibyte = 0; mebibyte < 1024; ++mebibyte)
            out << block;
    }
    dir.write("dst/kept.txt", "kept");
    for (Mode mode : { Mode::copy, Mode::move }) {
        auto control = std::make_shared<JobControl>();
        std::promise<JobOutcome> ended;
        auto job = std::make_shared<TransferJob>(mode, TransferJob::keepingNames({ big }), dir / "dst");
        JobThread thread(job, control, [&](const JobOutcome& outcome) { ended.set_value(outcome); });
        while (control->progress().currentBytesDone == 0)
            std::this_thread::sleep_for(1ms);
        const auto cancelled = std::chrono::steady_clock::now();
        control->cancel();
        auto outcome = ended.get_future();
        EXPECT_EQ(outcome.wait_for(2s), std::future_status::ready);
        EXPECT_LT(std::chrono::steady_clock::now() - cancelled, 1s) << "a cancel waits for one chunk at most";
        EXPECT_EQ(outcome.get().end, End::cancelled);
        std::vector<std::string> left;
        for (const auto& item : std::filesystem::directory_iterator(dir / "dst"))
            left.push_back(item.path().filename().string());
        EXPECT_EQ(left, std::vector<std::string> { "kept.txt" }) << "no partial file, no temporary";
        EXPECT_EQ(statOf(big).st_size, 1 << 30) << "the source stays whole";
    }
}

TEST_F(FileJobsTest, FailuresAskAndNeverLoseTheOldItem)
{
    if (!permissionBitsBind(dir))
        GTEST_SKIP() << "permission bits do not bind for this process (root with DAC override)";
    auto locked = dir.write("src/locked.txt", "new");
    ::chmod(locked.c_str(), 0);
    auto target = dir.write("dst/locked.txt", "old");

    // Overwriting with a file that cannot be read keeps the old one, and nothing beside it.
    JobScript skipping({ JobAnswer::overwrite, JobAnswer::skip });
    EXPECT_EQ(skipping.run(transfer(Mode::copy, { locked }, dir / "dst")).summary,
        "Copied 0 of 1 item; 1 skipped.\nPermission denied: " + locked);
    EXPECT_EQ(treeOf(dir / "dst"), (Tree { { "locked.txt", "old" } }));

    // Retry once the cause is gone.
    JobScript retrying({ JobAnswer::overwrite, JobAnswer::retry }, [&](const JobQuestion& question) {
        if (question.kind == JobQuestion::Kind::itemError)
            ::chmod(locked.c_str(), 0644);
    });
    EXPECT_EQ(retrying.run(transfer(Mode::copy, { locked }, dir / "dst")).summary, "Copied 1 item");
    EXPECT_EQ(readFile(target), "new");

    // What the program made itself goes even below read-only folders it made.
    dir.write("own/sealed/inner/file", "x");
    ::chmod((dir / "own/sealed/inner").c_str(), 0555);
    ::chmod((dir / "own/sealed").c_str(), 0555);
    DirectoryChain chain(dir.path());
    TreeRemoval::removeOwn(chain, "own");
    EXPECT_FALSE(std::filesystem::exists(dir / "own"));

    // A move across file systems whose source cannot go says exactly that.
    const std::string other = otherFileSystem(dir);
    if (other.empty())
        return;
    TempDir far(other);
    auto stuck = far.write("ro/stuck.txt", "stuck");
    ::chmod((far / "ro").c_str(), 0555);
    JobScript moving({ JobAnswer::skip });
    EXPECT_EQ(moving.run(transfer(Mode::move, { stuck }, dir / "dst")).summary,
        "Moved 0 of 1 item; 1 copied but still at the source too.\nCopied to " + dir / "dst/stuck.txt"
            + ", but the original could not be removed: Permission denied: " + stuck);
    EXPECT_EQ(std::pair(readFile(stuck), readFile(dir / "dst/stuck.txt")),
        std::pair(std::string("stuck"), std::string("stuck")));
}

TEST_F(FileJobsTest, TheSummaryAddsUpHoweverItemsWereLeft)
{
    if (!permissionBitsBind(dir))
        GTEST_SKIP() << "permission bits do not bind for this process (root with DAC override)";
    // One unreadable file, one unreadable folder (counted as one: nothing inside could be seen),
    // and a folder of three items left for a name taken by a file.
    dir.write("src/top/a.txt", "a");
    dir.write("src/top/b.txt", "b");
    ::chmod(dir.write("src/top/locked.txt", "locked").c_str(), 0);
    dir.write("src/top/sealed/inside.txt", "inside");
    ::chmod((dir / "src/top/sealed").c_str(), 0);
    dir.write("src/other/c.txt", "c");
    dir.write("src/other/d.txt", "d");
    dir.write("dst/other", "a file");
    JobScript skipping({ JobAnswer::skip, JobAnswer::skip, JobAnswer::skip });
    const std::string summary
        = skipping.run(transfer(Mode::copy, { dir / "src/top", dir / "src/other" }, dir / "dst")).summary;
    EXPECT_EQ(summary.substr(0, summary.find('.')), "Copied 3 of 8 items; 5 skipped");
    ::chmod((dir / "src/top/sealed").c_str(), 0700);

    // A file that cannot go keeps the folders holding it.
    dir.write("del/a.txt", "a");
    dir.write("del/sub/b.txt", "b");
    ::chmod((dir / "del/sub").c_str(), 0555);
    JobScript keeping({ JobAnswer::skip });
    EXPECT_EQ(
        keeping.run(DeleteJob({ dir / "del" })).summary.substr(0, 31), "Deleted 1 of 4 items; 3 skipped");
    ::chmod((dir / "del/sub").c_str(), 0755);
}

TEST_F(FileJobsTest, TheCountBesideTheWorkLandsWhole)
{
    dir.write("tree/a.txt", "aaa");
    dir.write("tree/sub/b.txt", "bb");
    JobControl control;
    control.startWorking();
    {
        SideCount counting({ dir / "tree", dir / "missing" }, control);
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (control.progress().itemsTotal == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(std::pair(control.progress().itemsTotal, control.progress().bytesTotal),
        std::pair(std::int64_t { 4 }, std::int64_t { 0 }));
    EXPECT_EQ(control.progress().phase, JobProgress::Phase::working) << "the work goes on meanwhile";
}

TEST_F(FileJobsTest, DeepTreesSparseFilesAndLinksWithASlash)
{
    // Far deeper than the descriptors the process may hold (here 200) for one or two per level.
    struct rlimit usual;
    ::getrlimit(RLIMIT_NOFILE, &usual);
    struct rlimit few = usual;
    few.rlim_cur = 200;
    ::setrlimit(RLIMIT_NOFILE, &few);
    const std::string bottom = deepTree(dir.folder("deep"), 700);
    JobScript deep;
    EXPECT_EQ(
        deep.run(transfer(Mode::copy, { dir / "deep/d" }, dir.folder("copy"))).summary, "Copied 701 items");
    const std::string copiedBottom = dir / "copy" + bottom.substr((dir / "deep").size());
    EXPECT_EQ(readFile(copiedBottom), "deep");
    if (const std::string other = otherFileSystem(dir); !other.empty()) {
        TempDir far(other);
        EXPECT_EQ(
            JobScript().run(transfer(Mode::move, { dir / "copy/d" }, far.path())).summary, "Moved 701 items");
        EXPECT_FALSE(std::filesystem::exists(dir / "copy/d"));
        // Gone before `far` is: its own clean-up cannot go this deep with so few descriptors.
        EXPECT_EQ(JobScript().run(DeleteJob({ far / "d" })).summary, "Deleted 701 items");
    }
    EXPECT_EQ(JobScript().run(DeleteJob({ dir / "deep/d" })).summary, "Deleted 701 items");
    EXPECT_FALSE(std::filesystem::exists(dir / "deep/d"));
    ::setrlimit(RLIMIT_NOFILE, &usual);

    // Holes stay holes: a 64 MiB file with two written blocks stays small on disk.
    const std::string sparse = dir / "sparse";
    {
        std::ofstream out(sparse, std::ios::binary);
        out << "start";
        out.seekp(32 << 20);
        out << "middle";
    }
    ASSERT_EQ(::truncate(sparse.c_str(), 64 << 20), 0);
    EXPECT_EQ(deep.run(transfer(Mode::copy, { sparse }, dir.folder("sparse-copy"))).end, End::completed);
    const std::string copied = dir / "sparse-copy/sparse";
    EXPECT_EQ(statOf(copied).st_size, 64 << 20);
    EXPECT_LE(statOf(copied).st_blocks, statOf(sparse).st_blocks + 64) << "the copy filled its holes";
    EXPECT_TRUE(readFile(copied) == readFile(sparse));

    // "link/" names the link the user chose, never the folder it points to.
    dir.write("target/file.txt", "kept");
    ::symlink((dir / "target").c_str(), (dir / "link").c_str());
    EXPECT_EQ(deep.run(DeleteJob({ dir / "link/" })).end, End::completed);
    EXPECT_FALSE(std::filesystem::is_symlink(dir / "link"));
    EXPECT_EQ(readFile(dir / "target/file.txt"), "kept");
}
