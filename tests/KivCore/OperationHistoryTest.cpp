#include "history/OperationHistory.h"
#include "JobScript.h"
#include "SshServer.h"
#include "TempDir.h"
#include "archives/ExtractJob.h"
#include "archives/PackJob.h"
#include "files/FileSystemService.h"
#include "files/TransferJob.h"
#include "history/ItemChangeJob.h"
#include "history/RecordedJob.h"
#include "history/ReplayJob.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"
#include "files/DoorCopyJob.h"
#include "remote/SftpDoor.h"
#include "remote/SftpRenameJob.h"
#include "rename/RenameSetJob.h"

#include <map>

using namespace kiv;
using namespace kiv::test;
namespace {

using RecordKind = OperationRecord::Kind;

class OperationHistoryTest : public ::testing::Test
{
protected:
    // Every path under the work folder with its contents ("/" for a folder).
    std::map<std::string, std::string> tree() const
    {
        std::map<std::string, std::string> found;
        for (const auto& item : std::filesystem::recursive_directory_iterator(dir.path()))
            found[item.path().string().substr(dir.path().size())]
                = item.is_directory() ? "/" : readFile(item.path().string());
        return found;
    }

    // Runs the copy or move through the job that records it, as the program does.
    OperationRecord transferred(TransferJob::Mode mode, std::vector<TransferJob::Item> items,
        const std::string& toFolder, JobControl* asking = nullptr)
    {
        auto transfer
            = std::make_shared<TransferJob>(mode, std::move(items), toFolder, std::make_shared<Trash>(trash));
        RecordedJob job(
            transfer, transfer->report(), mode == TransferJob::Mode::copy ? RecordKind::copy : RecordKind::move);
        JobControl control;
        JobThread::runHere(job, asking ? *asking : control);
        return job.takeRecord();
    }
    void moved(RecordKind kind, const std::vector<std::pair<std::string, std::string>>& items)
    {
        OperationRecord record { kind, {} };
        for (const auto& [from, to] : items) {
            const std::filesystem::path target(dir / to);
            for (OperationRecord::Step& step : transferred(
                     TransferJob::Mode::move, { { dir / from, target.filename() } }, target.parent_path())
                                                   .steps)
                record.steps.push_back(std::move(step));
        }
        recorded(record);
    }
    void copied(const std::string& from, const std::string& toFolder)
    {
        recorded(
            transferred(TransferJob::Mode::copy, TransferJob::keepingNames({ dir / from }), dir / toFolder));
    }
    void madeFolder(const std::string& name)
    {
        fs.makeFolder(dir / name);
        OperationRecord record { RecordKind::makeFolder, {} };
        record.addMade("", dir / name);
        recorded(record);
    }
    void trashed(const std::vector<std::string>& names)
    {
        OperationRecord record { RecordKind::moveToTrash, {} };
        for (const auto& name : names)
            record.addTrashed(trash.moveToTrash(dir / name));
        recorded(record);
    }
    void recorded(const OperationRecord& record)
    {
        history.record(record);
        states.push_back(tree());
    }
    // Runs the undo or redo job to its end, as the program does, and returns how it ended.
    JobOutcome replayed(const std::shared_ptr<ReplayJob>& job)
    {
        if (!job)
            return { JobOutcome::End::failed, "nothing to replay" };
        JobControl control;
        const JobOutcome outcome = JobThread::runHere(*job, control);
        history.finish(*job);
        return outcome;
    }
    std::string undo() { return replayed(history.startUndo()).summary; }
    std::string redo() { return replayed(history.startRedo()).summary; }
    // The message of the refused undo; the tree must be untouched by it.
    std::string refusedUndo()
    {
        const auto before = tree();
        const JobOutcome outcome = replayed(history.startUndo());
        EXPECT_EQ(tree(), before);
        EXPECT_EQ(outcome.end, JobOutcome::End::failed);
        return outcome.summary;
    }

    TempDir dir;
    TempDir home;
    FileSystemService fs;
    Trash trash { home / "Trash" };
    OperationHistory history { trash };
    std::vector<std::map<std::string, std::string>> states; // after each recorded operation
};

TEST_F(OperationHistoryTest, UndoesAChainOfEveryKindInOrderAndRedoesIt)
{
    dir.write("seed", "seed bytes");
    dir.write("folder/inner", "inner");
    states.push_back(tree());
    for (const std::string n : { "1", "2", "3", "4" }) {
        madeFolder("c" + n);
        copied("folder", "c" + n);
        moved(RecordKind::rename, { { "c" + n + "/folder", "c" + n + "/renamed" } });
        moved(RecordKind::move, { { "c" + n + "/renamed", "top" + n } });
        trashed({ "top" + n, "c" + n });
    }
    ASSERT_EQ(states.size(), 21u);
    EXPECT_EQ(history.nextUndo()->description(), "move to trash of 2 items");
    for (std::size_t left = 20; left > 0; --left) {
        undo();
        EXPECT_EQ(tree(), states[left - 1]) << "undoing operation " << left;
    }
    EXPECT_EQ(history.nextRedo()->description(), "new folder \"c1\"");
    for (std::size_t redone = 1; redone <= 20; ++redone) {
        redo();
        EXPECT_EQ(tree(), states[redone]) << "redoing operation " << redone;
    }
    EXPECT_EQ(history.nextRedo(), nullptr);
    EXPECT_EQ(history.startRedo(), nullptr);
}

TEST_F(OperationHistoryTest, UndoOfACopyTakesAwayOnlyWhatItMadeAndOfACancelledOneOnlyWhatWasDone)
{
    dir.write("box/new.txt", "new");
    dir.write("box/deep/inner.txt", "inner");
    dir.write("dst/box/old.txt", "was there");
    dir.write("dst/other.txt", "other");
    const auto start = tree();
    copied("box", "dst"); // into the folder of the same name that was there
    EXPECT_EQ(readFile(dir / "dst/box/deep/inner.txt"), "inner");
    EXPECT_EQ(undo(), "Undone: copy of 2 items");
    EXPECT_EQ(tree(), start);

    // Cancelled at the taken name of the second item: the third never came.
    for (const std::string name : { "a", "b", "c" })
        dir.write(name, name);
    dir.write("dst/b", "theirs");
    const auto before = tree();
    JobControl control;
    control.setQuestionListener([&control] { control.cancel(); });
    recorded(transferred(TransferJob::Mode::copy,
        TransferJob::keepingNames({ dir / "a", dir / "b", dir / "c" }), dir / "dst", &control));
    EXPECT_EQ(readFile(dir / "dst/a"), "a");
    EXPECT_FALSE(std::filesystem::exists(dir / "dst/c"));
    EXPECT_EQ(undo(), "Undone: copy of \"a\"");
    EXPECT_EQ(tree(), before);
}

TEST_F(OperationHistoryTest, UndoOfAMoveIntoAFolderOfTheSameNameBringsBackTheFolderItEmptied)
{
    dir.write("box/new.txt", "new");
    dir.folder("box/empty");
    dir.write("dst/box/old.txt", "was there");
    dir.folder("dst/box/empty");
    states.push_back(tree());
    moved(RecordKind::move, { { "box", "dst/box" } });
    EXPECT_FALSE(std::filesystem::exists(dir / "box"));
    EXPECT_EQ(undo(), "Undone: move of 3 items");
    EXPECT_EQ(tree(), states[0]);
    EXPECT_EQ(redo(), "Redone: move of 3 items");
    EXPECT_EQ(tree(), states[1]);
}

TEST_F(OperationHistoryTest, PackedAndExtractedItemsGoToTheTrashOnUndoAndComeBackOnRedo)
{
    const auto recordedJob = [&](std::shared_ptr<Job> work, const TransferReport& report, RecordKind kind) {
        RecordedJob job(std::move(work), report, kind);
        JobControl control;
        JobThread::runHere(job, control);
        recorded(job.takeRecord());
    };
    dir.write("box/inner.txt", "inner");
    dir.write("out/box/mine.txt", "mine"); // the extraction merges into this folder
    auto pack = std::make_shared<PackJob>(std::vector<std::string> { dir / "box" }, dir / "box.zip");
    recordedJob(pack, pack->report(), RecordKind::pack);
    auto extract
        = std::make_shared<ExtractJob>(dir / "box.zip", std::vector<ExtractJob::Member> {}, dir / "out");
    recordedJob(extract, extract->report(), RecordKind::extract);
    EXPECT_EQ(readFile(dir / "out/box/inner.txt"), "inner");
    EXPECT_EQ(undo(), "Undone: extraction of \"inner.txt\"");
    EXPECT_EQ(tree(), states[0]);
    EXPECT_EQ(redo(), "Redone: extraction of \"inner.txt\"");
    EXPECT_EQ(tree(), states[1]);
    undo();
    EXPECT_EQ(undo(), "Undone: new archive \"box.zip\"");
    EXPECT_EQ(redo(), "Redone: new archive \"box.zip\"");
    std::filesystem::resize_file(dir / "box.zip", 3);
    EXPECT_NE(refusedUndo().find(dir / "box.zip has changed since."), std::string::npos);
}

TEST_F(OperationHistoryTest, RefusesToUndoWhenTheFilesChangedAndTouchesNothing)
{
    dir.write("a", "a");
    dir.write("b", "b");
    dir.folder("into");
    dir.folder("copies");
    copied("a", "copies");
    dir.write("copies/a", "A"); // the same size, but edited
    EXPECT_NE(refusedUndo().find(dir / "copies/a has changed since."), std::string::npos);
    std::filesystem::remove(dir / "copies/a");

    moved(RecordKind::move, { { "a", "into/a" }, { "b", "into/b" } });
    EXPECT_EQ(undo(), "Undone: move of 2 items");
    EXPECT_EQ(redo(), "Redone: move of 2 items");
    dir.write("b", "new b"); // the old name is taken again
    std::filesystem::rename(dir / "into/a", dir / "a2"); // and the other moved item is gone
    EXPECT_EQ(refusedUndo(),
        "Nothing was undone: the files are no longer as the operation left them.\n" + dir / "into/a"
            + " is no longer there.\nSomething is at " + dir / "b" + " again.");
    std::filesystem::rename(dir / "a2", dir / "into/a");
    std::filesystem::remove(dir / "b");
    undo();
    EXPECT_EQ(
        std::pair(readFile(dir / "a"), readFile(dir / "b")), std::pair(std::string("a"), std::string("b")));
    EXPECT_NE(refusedUndo().find(dir / "copies/a is no longer there."), std::string::npos);

    // A moved folder that got a new file and an edited one since is not moved back, nor one that
    // lost a file.
    dir.write("box/before.txt", "before");
    dir.write("box/edited.txt", "as moved");
    moved(RecordKind::move, { { "box", "into/box" } });
    dir.write("into/box/added.txt", "added");
    dir.write("into/box/edited.txt", "edited!!");
    EXPECT_EQ(refusedUndo(),
        "Nothing was undone: the files are no longer as the operation left them.\n"
            + dir / "into/box/added.txt" + " is new since.");
    std::filesystem::remove(dir / "into/box/added.txt");
    EXPECT_NE(refusedUndo().find(dir / "into/box/edited.txt has changed since."), std::string::npos);
    std::filesystem::remove(dir / "into/box/before.txt");
    EXPECT_NE(refusedUndo().find(dir / "into/box/before.txt is gone since."), std::string::npos);
}

TEST_F(OperationHistoryTest, AnItemOfAnotherKindThatACopyOrMoveReplacedComesBackFromTheTrashOnUndo)
{
    dir.write("src/book", "one file");
    dir.write("dst/book/chapter1", "1");
    dir.write("src/notes/n1", "n1");
    dir.write("dst/notes", "a file");
    states.push_back(tree());
    JobControl replacing;
    replacing.setQuestionListener([&replacing] { replacing.answer(JobAnswer::overwrite); });
    recorded(transferred(
        TransferJob::Mode::copy, TransferJob::keepingNames({ dir / "src/book" }), dir / "dst", &replacing));
    recorded(transferred(
        TransferJob::Mode::move, TransferJob::keepingNames({ dir / "src/notes" }), dir / "dst", &replacing));
    EXPECT_EQ(readFile(dir / "dst/book"), "one file");
    EXPECT_EQ(readFile(dir / "dst/notes/n1"), "n1");
    for (std::size_t left = 2; left > 0; --left) {
        undo();
        EXPECT_EQ(tree(), states[left - 1]) << "undoing operation " << left;
    }
    for (std::size_t redone = 1; redone <= 2; ++redone) {
        redo();
        EXPECT_EQ(tree(), states[redone]) << "redoing operation " << redone;
    }
    // What it replaced must still be in the trash to come back.
    std::filesystem::remove_all(home / "Trash/files/notes");
    EXPECT_NE(refusedUndo().find(dir / "dst/notes, which it replaced, is no longer in the trash."),
        std::string::npos);
}

TEST_F(OperationHistoryTest, UndoesARingOfRenamesAsOneStepAndRedoesIt)
{
    for (const char* name : { "a", "b", "c", "d" })
        dir.write(name, name);
    states.push_back(tree());
    auto renames
        = std::make_shared<RenameSetJob>(std::vector<RenameSetJob::Rename> { { dir / "a", dir / "b" },
            { dir / "b", dir / "c" }, { dir / "c", dir / "a" }, { dir / "d", dir / "e" } });
    RecordedJob job(renames, renames->report(), RecordKind::rename);
    JobControl control;
    JobThread::runHere(job, control);
    recorded(job.takeRecord());
    EXPECT_EQ(history.nextUndo()->description(), "rename of 4 items");
    // Each name the undo gives back is held by another item of the ring: no refusal for those.
    EXPECT_EQ(undo(), "Undone: rename of 4 items");
    EXPECT_EQ(tree(), states[0]);
    EXPECT_EQ(redo(), "Redone: rename of 4 items");
    EXPECT_EQ(tree(), states[1]);
    dir.write("d", "new d");
    EXPECT_EQ(refusedUndo(),
        "Nothing was undone: the files are no longer as the operation left them.\nSomething is at "
            + dir / "d" + " again.");
}

} // namespace

TEST_F(OperationHistoryTest, OnAServerRenamesNewFoldersAndCopiesAreReplayedThereThroughItsDoorAlone)
{
    SshServer server;
    server.trustHostKey();
    JobScript connecting;
    const auto door = SftpDoor::open(server.place(), connecting.control);
    dir.write("local/tree/sub/b", "b");
    dir.write("remote/x", "x");
    const auto making = ItemChangeJob::makingFolder(door, dir / "remote/made");
    JobControl makingControl;
    JobThread::runHere(*making, makingControl);
    history.record(making->takeRecord());
    const auto renaming
        = std::make_shared<SftpRenameJob>(door, std::vector { dir / "remote/x" }, dir / "remote/made/y");
    const auto copying = std::make_shared<DoorCopyJob>(
        FileSystemService::shared(), std::vector { dir / "local/tree" }, door, dir / "remote");
    for (RecordedJob job : { RecordedJob(renaming, renaming->report(), RecordKind::move, door),
             RecordedJob(copying, copying->report(), RecordKind::copy, door) }) {
        JobControl control;
        JobThread::runHere(job, control);
        history.record(job.takeRecord());
    }

    dir.write("remote/tree/sub/c", "c");
    EXPECT_NE(refusedUndo().find(dir / "remote/tree/sub/c is new since."), std::string::npos);
    std::filesystem::remove(dir / "remote/tree/sub/c");
    EXPECT_EQ(undo(), "Undone: copy of \"tree\"");
    EXPECT_EQ(undo(), "Undone: move of \"x\"");
    EXPECT_EQ(undo(), "Undone: new folder \"made\"");
    EXPECT_EQ(treeOf(dir / "remote"), (Tree { { "x", "x" } }));
    redo();
    redo();
    EXPECT_NE(replayed(history.startRedo()).summary.find(dir / "remote/tree is not copied again"),
        std::string::npos);
    EXPECT_EQ(treeOf(dir / "remote"), (Tree { { "made", "/" }, { "made/y", "x" } }));

    // Gone, the server undoes nothing, and nothing here is taken for its paths.
    server.stop();
    EXPECT_NE(refusedUndo().find("Connection lost to sftp://"), std::string::npos);
    EXPECT_EQ(treeOf(dir / "remote"), (Tree { { "made", "/" }, { "made/y", "x" } }));
}
