#include "history/OperationReplay.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PathString.h"
#include "doors/Door.h"
#include "doors/DoorWalk.h"
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

bool replacedSomething(const Step& step)
{
    return !step.replaced.trashedPath.empty();
}

Expectation expectationFor(Kind kind, const Step& step, Direction direction)
{
    static const std::string none;
    const bool undo = direction == Direction::undo;
    // A redo puts whatever is at `to` again into the trash, as the operation did with what it replaced.
    const std::string& taken = replacedSomething(step) ? none : step.to;
    switch (step.kindIn(kind)) {
    case Kind::synchronize: // never met: its steps are copies and moves to the trash
    case Kind::copy:
    case Kind::makeFolder:
    case Kind::extract:
    case Kind::pack:
        return undo ? Expectation { step.to, none, true } : Expectation { step.from, taken, false };
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
    if (step.to.empty()) // a folder the move emptied: made again on undo, removed again on redo
        return undo ? Expectation { none, step.from, false } : Expectation { step.from, none, false };
    // A moved item must be as the move left it, either way; a rename is not checked inside.
    const bool unchanged = !step.made.empty();
    return undo ? Expectation { step.to, step.from, unchanged } : Expectation { step.from, taken, unchanged };
}

// Whether anything is at `path` in `place` (this machine's disk when null).
bool exists(const Door* place, const std::string& path)
{
    return place ? place->info(path, Door::Link::itself).has_value() : DiskItem::exists(path);
}

void addChanges(
    std::vector<std::string>& found, const Step& step, const std::string& path, const OperationRecord& record)
{
    using Kind = TreeSnapshot::Difference::Kind;
    try {
        const auto difference = record.snapshotOf(path).firstDifference(step.made);
        if (!difference)
            return;
        const std::string where
            = difference->path.empty() ? path : PathString::appendingComponent(path, difference->path);
        const char* what = difference->kind == Kind::added ? " is new since."
            : difference->kind == Kind::removed            ? " is gone since."
                                                           : " has changed since.";
        found.push_back(where + what);
    } catch (const std::exception& error) {
        found.push_back(userMessage(error));
    }
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

// `leaving` holds the paths that other steps of `record` move away first.
void addDifferences(std::vector<std::string>& found, const Step& step, const Expectation& expected,
    Direction direction, const std::unordered_set<std::string>& leaving, const OperationRecord& record)
{
    const Door* place = record.place.get();
    if (!expected.present.empty() && !exists(place, expected.present)) {
        found.push_back(expected.present + " is no longer there.");
        return;
    }
    if (!expected.absent.empty() && !leaving.contains(expected.absent) && exists(place, expected.absent))
        found.push_back("Something is at " + expected.absent + " again.");
    if (direction == Direction::undo && replacedSomething(step)
        && !DiskItem::exists(step.replaced.trashedPath))
        found.push_back(step.replaced.originalPath + ", which it replaced, is no longer in the trash.");
    if (expected.shownFrom)
        addAttributeDifference(found, expected);
    if (expected.unchanged)
        addChanges(found, step, expected.present, record);
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

// Puts what is at `step.to` into the trash again, where the operation had replaced an item there.
void trashReplaced(Step& step, const Trash& trash)
{
    if (replacedSomething(step) && DiskItem::exists(step.to))
        step.replaced = trash.moveToTrash(step.to);
}

// Brings back the item the step had replaced, once what replaced it has gone. The step keeps its
// note of it: a redo replaces it again.
void restoreReplaced(const Step& step, const Trash& trash)
{
    if (replacedSomething(step))
        trash.restore(step.replaced);
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

// Removes the item at `path` behind `place` with everything it holds, what is inside first.
void removeTree(const Door& place, const std::string& path, JobControl& control)
{
    std::vector<std::string> inside;
    const auto visit = [&](const std::string&, const FileEntry& row) { inside.push_back(row.id); };
    const auto refused = [&](const std::string& folder, const std::string& why) {
        throw KivError::operationFailed(place.displayPath(folder) + ": " + why);
    };
    const std::optional<ItemInfo> facts = place.info(path, Door::Link::itself);
    if (facts && facts->type == ItemInfo::Type::folder)
        DoorWalk(place, visit, refused, &control).walk(path);
    for (auto item = inside.rbegin(); item != inside.rend(); ++item)
        place.remove(*item);
    place.remove(path);
}

// Replays a step in a place of its own (a server's folders), through its door alone: renames
// and new folders both ways, and a copy taken away again.
void replayThere(const Door& place, Kind kind, Step& step, Direction direction, JobControl& control)
{
    const bool undo = direction == Direction::undo;
    switch (step.kindIn(kind)) {
    case Kind::rename:
    case Kind::move:
        undo ? place.rename(step.to, step.from) : place.rename(step.from, step.to);
        return;
    case Kind::copy:
        if (undo)
            return removeTree(place, step.to, control);
        break; // its source lies in another place
    case Kind::makeFolder:
        if (undo)
            return removeTree(place, step.to, control);
        place.makeFolder(step.to);
        step.made = TreeSnapshot::of(place, step.to);
        return;
    default:
        break;
    }
    throw KivError::operationFailed("Only renames, new folders and copies are replayed on a server.");
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
        if (step.to.empty())
            return FileSystemService().remove(step.from);
        trashReplaced(step, trash);
        transfer(TransferJob::Mode::move, step.from, step.to, control);
        if (!step.made.empty())
            step.made = TreeSnapshot::of(step.to);
        return;
    case Kind::copy:
        trashReplaced(step, trash);
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
        if (step.to.empty())
            return FileSystemService().makeFolder(step.from);
        transfer(TransferJob::Mode::move, step.to, step.from, control);
        restoreReplaced(step, trash);
        return;
    case Kind::attributes:
        changeAttributes(step.from, step.after, step.before);
        return;
    case Kind::copy:
    case Kind::makeFolder:
    case Kind::link:
        runPart(DeleteJob({ step.to }), control);
        restoreReplaced(step, trash);
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
        // Its source lay in another place (this machine, an archive): a copy onto a server is made anew.
        if (record.place && direction == Direction::redo && step.kindIn(record.kind) == Kind::copy) {
            found.push_back(step.to + " is not copied again from here: copy it anew.");
            continue;
        }
        addDifferences(found, step, expectationFor(record.kind, step, direction), direction, leaving, record);
    }
    return found;
}

void replay(
    Kind kind, Step& step, Direction direction, const Trash& trash, JobControl& control, const Door* place)
{
    if (place)
        replayThere(*place, kind, step, direction, control);
    else if (direction == Direction::undo)
        undo(kind, step, trash, control);
    else
        redo(kind, step, trash, control);
}

} // namespace kiv::OperationReplay
