#include "history/OperationReplay.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PathString.h"
#include "files/DeleteJob.h"
#include "files/DiskItem.h"
#include "files/FileSystemService.h"
#include "files/ItemAttributes.h"
#include "files/TransferJob.h"
#include "jobs/JobCancelled.h"
#include "trash/Trash.h"

#include <cerrno>
#include <sys/stat.h>
#include <unordered_set>

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
    // The attribute change `present` must show: from the first to the second (both null when none).
    const ItemAttributes* shownFrom = nullptr;
    const ItemAttributes* shownTo = nullptr;
};

Expectation expectationFor(Kind kind, const Step& step, Direction direction)
{
    static const std::string none;
    const bool undo = direction == Direction::undo;
    switch (step.kindIn(kind)) {
    case Kind::synchronize: // never met: its steps are copies and moves to the trash
    case Kind::copy:
    case Kind::makeFolder:
    case Kind::extract:
    case Kind::pack:
        return undo ? Expectation { step.to, none, true } : Expectation { step.from, step.to, false };
    case Kind::moveToTrash:
        return undo ? Expectation { step.to, step.from, false } : Expectation { step.from, none, false };
    case Kind::link:
        return undo ? Expectation { step.to, none, true } : Expectation { none, step.to, false };
    case Kind::attributes:
        return undo ? Expectation { step.from, none, false, &step.before, &step.after }
                    : Expectation { step.from, none, false, &step.after, &step.before };
    case Kind::rename:
    case Kind::move:
        break;
    }
    return undo ? Expectation { step.to, step.from, false } : Expectation { step.from, step.to, false };
}

void addAttributeDifference(std::vector<std::string>& found, const Expectation& expected)
{
    try {
        const ItemAttributes now = ItemAttributes::of(expected.present);
        if (now.changed(*expected.shownFrom, *expected.shownTo) != now)
            found.push_back(expected.present + " has changed since.");
    } catch (const std::exception& error) {
        found.push_back(userMessage(error));
    }
}

// `leaving` holds the paths that other steps of the operation move away first.
void addDifferences(std::vector<std::string>& found, const Step& step, const Expectation& expected,
    const std::unordered_set<std::string>& leaving)
{
    if (!expected.present.empty() && !DiskItem::exists(expected.present)) {
        found.push_back(expected.present + " is no longer there.");
        return;
    }
    if (!expected.absent.empty() && !leaving.contains(expected.absent) && DiskItem::exists(expected.absent))
        found.push_back("Something is at " + expected.absent + " again.");
    if (expected.shownFrom)
        addAttributeDifference(found, expected);
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

// Runs `job` as a part of the replay on its control: a cancel ends the replay, anything less
// than all done fails the item.
void runPart(Job&& job, JobControl& control)
{
    const JobOutcome outcome = job.run(control);
    if (outcome.end == JobOutcome::End::cancelled)
        throw JobCancelled();
    if (outcome.end != JobOutcome::End::completed)
        throw KivError::operationFailed(outcome.summary);
}

// Copies or moves the item at `from` to the free path `to`.
void transfer(TransferJob::Mode mode, const std::string& from, const std::string& to, JobControl& control)
{
    runPart(TransferJob(mode, { { from, PathString::lastComponent(to) } }, PathString::parentOrRoot(to)),
        control);
}

// Gives the item the attribute change from `from` to `to` again.
void changeAttributes(const std::string& path, const ItemAttributes& from, const ItemAttributes& to)
{
    const ItemAttributes now = ItemAttributes::of(path);
    // Checked here too: an item inside a folder of the same change may have been out of reach before.
    if (now.changed(to, from) != now)
        throw KivError::operationFailed(path + " has changed since.");
    ItemAttributes::apply(path, now, now.changed(from, to));
}

bool outOfReach(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) != 0 && errno == EACCES;
}

// Returns whether a folder above `path` is an item of the attribute change `record` too: until
// that folder's own change is undone, what lies inside may be out of reach.
bool insideChangedFolder(const std::string& path, const std::unordered_set<std::string>& changed)
{
    if (path == "/")
        return false;
    std::string folder = path;
    do {
        folder = PathString::parentOrRoot(folder);
        if (changed.contains(folder))
            return true;
    } while (folder != "/");
    return false;
}

void redo(Kind kind, Step& step, const Trash& trash, JobControl& control)
{
    switch (step.kindIn(kind)) {
    case Kind::synchronize: // never met: its steps are copies and moves to the trash
        return;
    case Kind::attributes:
        changeAttributes(step.from, step.before, step.after);
        return;
    case Kind::link:
        FileSystemService().makeLink(step.from, step.to);
        step.made = TreeSnapshot::of(step.to);
        return;
    case Kind::rename:
    case Kind::move:
        transfer(TransferJob::Mode::move, step.from, step.to, control);
        return;
    case Kind::copy:
        transfer(TransferJob::Mode::copy, step.from, step.to, control);
        step.made = TreeSnapshot::of(step.to);
        return;
    case Kind::makeFolder:
        FileSystemService().makeFolder(step.to);
        step.made = TreeSnapshot::of(step.to);
        return;
    case Kind::moveToTrash: {
        const TrashedItem item = trash.moveToTrash(step.from);
        step.to = item.trashedPath;
        step.info = item.infoPath;
        return;
    }
    case Kind::extract:
    case Kind::pack:
        trash.restore({ step.to, step.from, step.info });
        step.from.clear();
        step.info.clear();
        return;
    }
}

void undo(Kind kind, Step& step, const Trash& trash, JobControl& control)
{
    switch (step.kindIn(kind)) {
    case Kind::synchronize: // never met: its steps are copies and moves to the trash
        return;
    case Kind::rename:
    case Kind::move:
        transfer(TransferJob::Mode::move, step.to, step.from, control);
        return;
    case Kind::attributes:
        changeAttributes(step.from, step.after, step.before);
        return;
    case Kind::copy:
    case Kind::makeFolder:
    case Kind::link:
        runPart(DeleteJob({ step.to }), control);
        return;
    case Kind::moveToTrash:
        trash.restore({ step.from, step.to, step.info });
        return;
    case Kind::extract:
    case Kind::pack: {
        // Into the trash rather than gone: the redo takes it back out.
        const TrashedItem item = trash.moveToTrash(step.to);
        step.from = item.trashedPath;
        step.info = item.infoPath;
        return;
    }
    }
}

} // namespace

std::vector<std::string> differences(const OperationRecord& record, Direction direction)
{
    std::vector<std::string> found;
    // The items of a rename go all at once, so one may take a name another leaves (a swap, a
    // ring); a synchronization replaces an item by its copy, which goes first on undo.
    std::unordered_set<std::string> leaving;
    if (record.kind == Kind::rename || record.kind == Kind::synchronize) {
        for (const Step& step : record.steps) {
            const bool copied = step.kindIn(record.kind) == Kind::copy;
            if (!copied || direction == Direction::undo) // a copy's source stays where it is
                leaving.insert(expectationFor(record.kind, step, direction).present);
        }
    }
    std::unordered_set<std::string> changed;
    if (record.kind == Kind::attributes) {
        for (const Step& step : record.steps)
            changed.insert(step.from);
    }
    for (const Step& step : record.steps) {
        if (!changed.empty() && outOfReach(step.from) && insideChangedFolder(step.from, changed))
            continue; // checked as it is replayed, once its folders are
        addDifferences(found, step, expectationFor(record.kind, step, direction), leaving);
    }
    return found;
}

void replay(Kind kind, Step& step, Direction direction, const Trash& trash, JobControl& control)
{
    if (direction == Direction::undo)
        undo(kind, step, trash, control);
    else
        redo(kind, step, trash, control);
}

} // namespace kiv::OperationReplay
