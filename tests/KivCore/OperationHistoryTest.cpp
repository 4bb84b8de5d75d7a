#include "history/OperationHistory.h"
#include "TempDir.h"
#include "base/KivError.h"
#include "files/FileSystemService.h"
#include "files/TransferJob.h"
#include "history/ImmediateJob.h"

#include <map>

using namespace kiv;
using namespace kiv::test;
namespace {

using Kind = OperationRecord::Kind;

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

    void moved(Kind kind, const std::vector<std::pair<std::string, std::string>>& items)
    {
        OperationRecord record { kind, {} };
        for (const auto& [from, to] : items) {
            const std::filesystem::path target(dir / to);
            ImmediateJob::run(TransferJob(
                TransferJob::Mode::move, { { dir / from, target.filename() } }, target.parent_path()));
            record.addMoved(dir / from, dir / to);
        }
        recorded(record);
    }
    void copied(const std::string& from, const std::string& toFolder)
    {
        ImmediateJob::run(
            TransferJob(TransferJob::Mode::copy, TransferJob::keepingNames({ dir / from }), dir / toFolder));
        OperationRecord record { Kind::copy, {} };
        record.addMade(dir / from, dir / (toFolder + "/" + std::filesystem::path(from).filename().string()));
        recorded(record);
    }
    void madeFolder(const std::string& name)
    {
        fs.makeDirectory(name, dir.path());
        OperationRecord record { Kind::makeFolder, {} };
        record.addMade("", dir / name);
        recorded(record);
    }
    void trashed(const std::vector<std::string>& names)
    {
        OperationRecord record { Kind::moveToTrash, {} };
        for (const auto& name : names)
            record.addTrashed(trash.moveToTrash(dir / name));
        recorded(record);
    }
    void recorded(const OperationRecord& record)
    {
        history.record(record);
        states.push_back(tree());
    }
    // The message of the refused undo; the tree must be untouched by it.
    std::string refusedUndo()
    {
        const auto before = tree();
        try {
            history.undo();
        } catch (const KivError& error) {
            EXPECT_EQ(tree(), before);
            return error.description();
        }
        return "(undone)";
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
        moved(Kind::rename, { { "c" + n + "/folder", "c" + n + "/renamed" } });
        moved(Kind::move, { { "c" + n + "/renamed", "top" + n } });
        trashed({ "top" + n, "c" + n });
    }
    ASSERT_EQ(states.size(), 21u);
    EXPECT_EQ(history.nextUndo()->description(), "move to trash of 2 items");
    for (std::size_t left = 20; left > 0; --left) {
        history.undo();
        EXPECT_EQ(tree(), states[left - 1]) << "undoing operation " << left;
    }
    EXPECT_EQ(history.nextRedo()->description(), "new folder \"c1\"");
    for (std::size_t redone = 1; redone <= 20; ++redone) {
        history.redo();
        EXPECT_EQ(tree(), states[redone]) << "redoing operation " << redone;
    }
    EXPECT_EQ(history.nextRedo(), nullptr);
    EXPECT_THROW(history.redo(), KivError);
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

    moved(Kind::move, { { "a", "into/a" }, { "b", "into/b" } });
    history.undo();
    history.redo();
    dir.write("b", "new b"); // the old name is taken again
    std::filesystem::rename(dir / "into/a", dir / "a2"); // and the other moved item is gone
    EXPECT_EQ(refusedUndo(),
        "Nothing was undone: the files are no longer as the operation left them.\n" + dir / "into/a"
            + " is no longer there.\nSomething is at " + dir / "b" + " again.");
    std::filesystem::rename(dir / "a2", dir / "into/a");
    std::filesystem::remove(dir / "b");
    history.undo();
    EXPECT_EQ(
        std::pair(readFile(dir / "a"), readFile(dir / "b")), std::pair(std::string("a"), std::string("b")));
    EXPECT_NE(refusedUndo().find(dir / "copies/a is no longer there."), std::string::npos);
}

} // namespace
