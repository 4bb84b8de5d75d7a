#include "history/OperationReplay.h"

#include "base/ErrorText.h"
#include "files/DeleteJob.h"
#include "files/DiskItem.h"
#include "files/FileSystemService.h"
#include "files/PathString.h"
#include "files/TransferJob.h"
#include "history/ImmediateJob.h"
#include "trash/Trash.h"

namespace kiv::OperationReplay {

namespace {

using Kind = OperationRecord::Kind;
using Step = OperationRecord::Step;

// The paths one step needs: `present` must exist, `absent` must be free (either may be empty),
// and a made item must still match its snapshot.
struct Expectation
{
    const std::string& present;
    const std::string& absent;
    bool unchanged;
};

Expectation expectationFor(Kind kind, const Step& step, Direction direction)
{
    static const std::string none;
    const bool undo = direction == Direction::undo;
    switch (kind) {
    case Kind::copy:
    case Kind::makeFolder:
        return undo ? Expectation { step.to, none, true } : Expectation { step.from, step.to, false };
    case Kind::moveToTrash:
        return undo ? Expectation { step.to, step.from, false } : Expectation { step.from, none, false };
    case Kind::rename:
    case Kind::move:
        break;
    }
    return undo ? Expectation { step.to, step.from, false } : Expectation { step.from, step.to, false };
}

void addDifferences(std::vector<std::string>& found, const Step& step, const Expectation& expected)
{
    if (!expected.present.empty() && !DiskItem::exists(expected.present)) {
        found.push_back(expected.present + " is no longer there.");
        return;
    }
    if (!expected.absent.empty() && DiskItem::exists(expected.absent))
        found.push_back("Something is at " + expected.absent + " again.");
    if (!expected.unchanged)
        return;
    try {
        if (const auto changed = TreeSnapshot::of(step.to).firstDifference(step.made))
            found.push_back((changed->empty() ? step.to : PathString::appendingComponent(step.to, *changed))
                + " has changed since.");
    } catch (const std::exception& error) {
        found.push_back(userMessage(error));
    }
}

// Copies or moves the item at `from` to the free path `to`.
void transfer(TransferJob::Mode mode, const std::string& from, const std::string& to)
{
    ImmediateJob::run(
        TransferJob(mode, { { from, PathString::lastComponent(to) } }, PathString::parentOrRoot(to)));
}

void redo(Kind kind, Step& step, const Trash& trash)
{
    switch (kind) {
    case Kind::rename:
    case Kind::move:
        transfer(TransferJob::Mode::move, step.from, step.to);
        return;
    case Kind::copy:
        transfer(TransferJob::Mode::copy, step.from, step.to);
        step.made = TreeSnapshot::of(step.to);
        return;
    case Kind::makeFolder:
        FileSystemService().makeDirectory(
            PathString::lastComponent(step.to), PathString::parentOrRoot(step.to));
        step.made = TreeSnapshot::of(step.to);
        return;
    case Kind::moveToTrash: {
        const TrashedItem item = trash.moveToTrash(step.from);
        step.to = item.trashedPath;
        step.info = item.infoPath;
        return;
    }
    }
}

void undo(Kind kind, const Step& step, const Trash& trash)
{
    switch (kind) {
    case Kind::rename:
    case Kind::move:
        transfer(TransferJob::Mode::move, step.to, step.from);
        return;
    case Kind::copy:
    case Kind::makeFolder:
        ImmediateJob::run(DeleteJob({ step.to }));
        return;
    case Kind::moveToTrash:
        trash.restore({ step.from, step.to, step.info });
        return;
    }
}

} // namespace

std::vector<std::string> differences(const OperationRecord& record, Direction direction)
{
    std::vector<std::string> found;
    for (const Step& step : record.steps)
        addDifferences(found, step, expectationFor(record.kind, step, direction));
    return found;
}

void replay(Kind kind, Step& step, Direction direction, const Trash& trash)
{
    if (direction == Direction::undo)
        undo(kind, step, trash);
    else
        redo(kind, step, trash);
}

} // namespace kiv::OperationReplay
