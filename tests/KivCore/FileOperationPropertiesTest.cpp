// Generated trees and operations on the real disk, checked against what must hold after each step
// whatever the user answered and wherever a cancel came. ctest runs them with a fixed seed; see
// the README for a longer run with any seed.
#include "archives/ExtractJob.h"
#include "archives/PackJob.h"
#include "files/DeleteJob.h"
#include "files/TransferJob.h"
#include "history/OperationHistory.h"
#include "history/RecordedJob.h"
#include "history/ReplayJob.h"
#include "trash/TrashJob.h"

#include "JobScript.h"
#include "TempDir.h"

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <rapidcheck/gtest.h>
#include <thread>

using namespace kiv;
using namespace kiv::test;
using End = JobOutcome::End;
using RecordKind = OperationRecord::Kind;

namespace kiv {

void showValue(JobAnswer answer, std::ostream& out)
{
    const char* const shown[] { "overwrite", "overwriteAll", "skip", "skipAll", "overwriteAllOlder",
        "keepBoth", "retry", "trust", "reply", "cancel" };
    out << shown[static_cast<int>(answer)];
}

void showValue(JobOutcome::End end, std::ostream& out)
{
    const char* const shown[] { "completed", "incomplete", "cancelled", "failed" };
    out << shown[static_cast<int>(end)];
}

void showValue(TransferJob::Mode mode, std::ostream& out)
{
    out << (mode == TransferJob::Mode::copy ? "copy" : "move");
}

} // namespace kiv

namespace {

// Names that trip up careless code; few, so that the two sides of a copy share some.
const std::vector<std::string> names { "a", "b c", "-d", "new\nline", "\xFF\xFE", "e.txt" };

// One generated item: what it is, its name, the folder it goes in (an index among the folders
// made so far) and a number that sizes it or picks what it points to.
struct ItemPlan
{
    enum Kind
    {
        file,
        empty,
        sparse,
        folder,
        symlink,
        hardLink,
        unreadable,
        big, // more than one chunk of a copy, so a cancel can come inside it
    };
    int kind;
    int name;
    int place;
    int number;
};

void showValue(const ItemPlan& plan, std::ostream& out)
{
    out << "{kind " << plan.kind << ", " << rc::toString(names[plan.name]) << " in folder " << plan.place
        << ", " << plan.number << "}";
}

rc::Gen<std::vector<ItemPlan>> treePlans(int most)
{
    using S = ItemPlan;
    const auto kind = rc::gen::weightedElement<int>({ { 4, S::file }, { 2, S::empty }, { 1, S::sparse },
        { 4, S::folder }, { 2, S::symlink }, { 1, S::hardLink }, { 1, S::unreadable }, { 1, S::big } });
    const auto plan = rc::gen::construct<ItemPlan>(kind,
        rc::gen::inRange<int>(0, static_cast<int>(names.size())), rc::gen::inRange(0, 6),
        rc::gen::inRange(0, 3000));
    return rc::gen::resize(most, rc::gen::nonEmpty(rc::gen::container<std::vector<ItemPlan>>(plan)));
}

void writeAt(const std::string& path, const std::string& bytes, off_t offset)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    RC_ASSERT(::pwrite(fd, bytes.data(), bytes.size(), offset) == static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

// Makes the items below `root`. Every file holds a tag no other file holds, so that a file found
// anywhere later tells which one it was, and a part of one matches none.
void build(const std::string& root, const std::vector<ItemPlan>& plans, int& serial)
{
    std::vector<std::string> folders { root };
    std::vector<std::string> files;
    for (const ItemPlan& plan : plans) {
        const std::string path = folders[plan.place % folders.size()] + "/" + names[plan.name];
        if (::access(path.c_str(), F_OK) == 0 || std::filesystem::is_symlink(path))
            continue;
        const std::string tag = "#" + std::to_string(++serial) + ":" + std::string(plan.number, 'x');
        switch (plan.kind) {
        case ItemPlan::folder:
            ::mkdir(path.c_str(), 0755);
            folders.push_back(path);
            continue;
        case ItemPlan::symlink:
            ::symlink((plan.number % 2 ? names[plan.number % names.size()] : tag).c_str(), path.c_str());
            continue;
        case ItemPlan::hardLink:
            if (!files.empty())
                ::link(files[plan.number % files.size()].c_str(), path.c_str());
            continue;
        case ItemPlan::empty:
            writeAt(path, "", 0);
            break;
        case ItemPlan::sparse:
            writeAt(path, tag, 0);
            writeAt(path, tag, off_t(1) << 20);
            break;
        case ItemPlan::big:
            writeAt(path, tag + std::string(9 << 20, char('a' + serial % 26)), 0);
            break;
        default:
            writeAt(path, tag, 0);
        }
        files.push_back(path);
        if (plan.kind == ItemPlan::unreadable)
            ::chmod(path.c_str(), 0);
    }
}

std::vector<std::string> topNames(const std::string& folder)
{
    std::vector<std::string> found;
    for (const auto& item : std::filesystem::directory_iterator(folder))
        found.push_back(item.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
}

// How many times each file's bytes or link's target is found.
std::map<std::string, int> valueCounts(const std::vector<Tree>& trees)
{
    std::map<std::string, int> counts;
    for (const Tree& tree : trees)
        for (const auto& [path, value] : tree)
            if (value != "/" && !value.empty())
                ++counts[value];
    return counts;
}

// The user: answers from a generated list, cancelling at a generated question or as soon as the
// progress passes a generated count of items or bytes.
struct User
{
    std::vector<JobAnswer> conflictAnswers;
    std::vector<JobAnswer> errorAnswers;
    std::size_t cancelAtQuestion;
    std::int64_t cancelAfterItems;
    std::int64_t cancelAfterBytes;
    std::vector<JobAnswer> given;

    static User generated()
    {
        using A = JobAnswer;
        return { *rc::gen::nonEmpty(rc::gen::container<std::vector<A>>(rc::gen::element(A::overwrite,
                     A::overwriteAll, A::skip, A::skipAll, A::overwriteAllOlder, A::keepBoth))),
            *rc::gen::nonEmpty(rc::gen::container<std::vector<A>>(rc::gen::element(A::skip, A::skipAll))),
            *rc::gen::inRange<std::size_t>(0, 12), *rc::gen::inRange<std::int64_t>(0, 30),
            *rc::gen::element<std::int64_t>(4 << 20, 12 << 20, 1 << 30), {} };
    }

    JobOutcome run(Job& job)
    {
        JobControl control;
        control.setQuestionListener([&] {
            const JobQuestion question = *control.pendingQuestion();
            const auto& answers
                = question.kind == JobQuestion::Kind::conflict ? conflictAnswers : errorAnswers;
            given.push_back(
                given.size() == cancelAtQuestion ? JobAnswer::cancel : answers[given.size() % answers.size()]);
            control.answer(given.back());
        });
        std::atomic<bool> ended { false };
        std::thread watcher([&] {
            while (!ended) {
                const JobProgress progress = control.progress();
                if (progress.itemsDone >= cancelAfterItems || progress.bytesDone >= cancelAfterBytes)
                    return control.cancel();
                std::this_thread::sleep_for(std::chrono::microseconds(20));
            }
        });
        const JobOutcome outcome = JobThread::runHere(job, control);
        ended = true;
        watcher.join();
        return outcome;
    }

    bool replacedAny() const
    {
        return std::any_of(given.begin(), given.end(), [](JobAnswer answer) {
            return answer == JobAnswer::overwrite || answer == JobAnswer::overwriteAll
                || answer == JobAnswer::overwriteAllOlder;
        });
    }
};

// The disk the operations work on: a source folder, a target folder (on another file system when
// there is one and the case asks for it) and the user's trash. The home is on the target's file
// system: what a replace sends to the trash then goes to the home trash, which the case can see,
// and never to the trash at the top of that file system, which other programs and tests share.
struct World
{
    explicit World(bool far)
        : target(far && std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path())
        , home(std::filesystem::path(target.path()).parent_path())
    {
        ::mkdir(src.c_str(), 0755);
        ::mkdir(dst.c_str(), 0755);
    }

    std::vector<Tree> trees() const { return { treeOf(src), treeOf(dst), treeOf(home / "Trash/files") }; }

    // Fails the case when a name the core uses for work in progress is left anywhere.
    void assertNoPartsLeft() const
    {
        for (const Tree& tree : trees())
            for (const auto& [path, value] : tree)
                RC_ASSERT(path.find(".tavrin-part-") == std::string::npos);
    }

    TempDir dir;
    TempDir target;
    TempDir home;
    std::string src = dir / "src";
    std::string dst = target / "dst";
    Trash trash { home / "Trash" };
    OperationHistory history { trash };
    int serial = 0;
};

JobOutcome replayed(World& world, std::shared_ptr<ReplayJob> job)
{
    RC_ASSERT(job != nullptr);
    JobControl control;
    const JobOutcome outcome = JobThread::runHere(*job, control);
    world.history.finish(*job);
    return outcome;
}

// Changes something `record` made, or puts something where a trashed item was, so that an undo
// must refuse; false when there is nothing to change.
bool changeWhatWasMade(const OperationRecord& record)
{
    for (const OperationRecord::Step& step : record.steps) {
        if (record.kind == RecordKind::moveToTrash) {
            writeAt(step.from, "new since", 0);
            return true;
        }
        struct stat info;
        if (::lstat(step.to.c_str(), &info) != 0 || !(S_ISDIR(info.st_mode) || S_ISREG(info.st_mode)))
            continue;
        if (S_ISDIR(info.st_mode))
            writeAt(step.to + "/added since", "added", 0);
        else
            writeAt(step.to, "changed since", info.st_size);
        return true;
    }
    return false;
}

// Whether a file or link took the place of another one, which no undo brings back.
bool replacedInPlace(const Tree& before, const Tree& after)
{
    for (const auto& [path, value] : before)
        if (value != "/" && after.contains(path) && after.at(path) != "/" && after.at(path) != value)
            return true;
    return false;
}

// Undo refuses once what the operation left has changed; otherwise it brings back the world as
// it was (where nothing was replaced in place), and a redo the world as the operation left it.
void checkUndoAndRedo(World& world, OperationRecord record, const std::vector<Tree>& before, bool whole)
{
    if (record.steps.empty())
        return;
    world.history.record(record);
    const std::vector<Tree> after = world.trees();
    if (*rc::gen::arbitrary<bool>() && changeWhatWasMade(record)) {
        const std::vector<Tree> changed = world.trees();
        RC_ASSERT(replayed(world, world.history.startUndo()).end == End::failed);
        RC_ASSERT(world.trees() == changed);
        return;
    }
    const JobOutcome undone = replayed(world, world.history.startUndo());
    RC_ASSERT(undone.end == End::completed);
    world.assertNoPartsLeft();
    if (!replacedInPlace(before[1], after[1])) {
        RC_ASSERT(treeOf(world.src) == before[0]);
        RC_ASSERT(treeOf(world.dst) == before[1]);
    }
    // A redo meets again what kept the operation from completing (an unreadable item, say).
    const JobOutcome redone = replayed(world, world.history.startRedo());
    if (whole) {
        RC_ASSERT(redone.end == End::completed);
        RC_ASSERT(treeOf(world.src) == after[0]);
        RC_ASSERT(treeOf(world.dst) == after[1]);
    }
}

// Nothing lost: every value found before is found after (in the trash too), unless the user
// chose to replace an item with one of its kind, whose place now holds the source's value. No
// part: every file found after is one found before. A copy leaves its sources as they were, a
// move duplicates nothing.
void checkNothingLostNorPartial(const World& world, const std::vector<Tree>& before, const User& user,
    TransferJob::Mode mode)
{
    world.assertNoPartsLeft();
    const std::vector<Tree> after = world.trees();
    const auto was = valueCounts(before);
    const auto now = valueCounts(after);
    for (const auto& [value, count] : now) {
        RC_ASSERT(was.contains(value));
        if (mode == TransferJob::Mode::move)
            RC_ASSERT(count <= was.at(value));
    }
    for (const auto& [path, value] : before[1]) {
        if (value == "/" || value.empty() || now.contains(value))
            continue;
        RC_ASSERT(user.replacedAny());
        // Tested apart: RC_ASSERT's capture evaluates both sides of &&.
        const bool takenBySource = after[1].contains(path) && before[0].contains(path) && after[1].at(path) == before[0].at(path);
        RC_ASSERT(takenBySource);
    }
    for (const auto& [path, value] : before[0])
        RC_ASSERT(value == "/" || value.empty() || now.contains(value));
    if (mode == TransferJob::Mode::copy)
        RC_ASSERT(after[0] == before[0]);
}

// Some of the items in `folder`, at least one when there is one.
std::vector<std::string> pickedFrom(const std::string& folder)
{
    std::vector<std::string> paths;
    for (const std::string& name : topNames(folder))
        if (paths.empty() || *rc::gen::inRange(0, 3) != 0)
            paths.push_back(folder + "/" + name);
    return paths;
}

} // namespace

RC_GTEST_PROP(FileOperationProperties, CopyAndMoveLoseNothingWhateverTheAnswersAndCancels, ())
{
    World world(*rc::gen::arbitrary<bool>());
    build(world.src, *treePlans(10), world.serial);
    build(world.dst, *treePlans(8), world.serial);
    const auto mode = *rc::gen::element(TransferJob::Mode::copy, TransferJob::Mode::move);
    const auto sources = pickedFrom(world.src);
    RC_PRE(!sources.empty());
    const std::vector<Tree> before = world.trees();

    auto transfer = std::make_shared<TransferJob>(
        mode, TransferJob::keepingNames(sources), world.dst, std::make_shared<Trash>(world.trash));
    RecordedJob job(transfer, transfer->report(), mode == TransferJob::Mode::copy ? RecordKind::copy : RecordKind::move);
    User user = User::generated();
    const JobOutcome outcome = user.run(job);
    RC_TAG(outcome.end);
    checkNothingLostNorPartial(world, before, user, mode);
    checkUndoAndRedo(world, job.takeRecord(), before, outcome.end == End::completed);
}

RC_GTEST_PROP(FileOperationProperties, PackedItemsComeBackWholeAndExtractingLosesNothing, ())
{
    World world(false);
    build(world.src, *treePlans(10), world.serial);
    build(world.dst, *treePlans(6), world.serial);
    const auto sources = pickedFrom(world.src);
    RC_PRE(!sources.empty());
    const std::string name = "packed" + *rc::gen::element<std::string>(".zip", ".tar", ".tar.gz");
    User packer = User::generated();
    PackJob pack(sources, world.dir / name);
    const JobOutcome packed = packer.run(pack);
    RC_TAG(packed.end);
    // A whole archive or none, and nothing beside it.
    const bool made = packed.end == End::completed;
    RC_ASSERT(topNames(world.dir.path()) == (made ? std::vector<std::string> { name, "src" } : std::vector<std::string> { "src" }));
    if (!made)
        return;
    Tree chosen;
    for (const auto& [path, value] : treeOf(world.src))
        if (std::count(sources.begin(), sources.end(), world.src + "/" + path.substr(0, path.find('/'))))
            chosen[path] = value;
    RC_ASSERT(JobScript().run(ExtractJob(world.dir / name, {}, world.dir.folder("out"))).end == End::completed);
    RC_ASSERT(treeOf(world.dir / "out") == chosen);

    const std::vector<Tree> before = world.trees();
    auto extract = std::make_shared<ExtractJob>(world.dir / name, std::vector<ExtractJob::Member> {}, world.dst);
    RecordedJob job(extract, extract->report(), RecordKind::extract);
    User user = User::generated();
    const JobOutcome outcome = user.run(job);
    RC_TAG(outcome.end);
    checkNothingLostNorPartial(world, before, user, TransferJob::Mode::copy);
    checkUndoAndRedo(world, job.takeRecord(), before, outcome.end == End::completed);
}

RC_GTEST_PROP(FileOperationProperties, DeleteAndTrashTakeOnlyWhatWasChosen, ())
{
    World world(false);
    build(world.src, *treePlans(12), world.serial);
    const auto sources = pickedFrom(world.src);
    const Tree before = treeOf(world.src);
    User user = User::generated();
    const bool toTrash = *rc::gen::arbitrary<bool>();
    TrashJob trashing(sources, world.trash);
    DeleteJob deleting(sources);
    const JobOutcome outcome = user.run(toTrash ? static_cast<Job&>(trashing) : deleting);
    RC_TAG(toTrash, outcome.end);
    world.assertNoPartsLeft();
    // What was not chosen stays as it was; what was chosen is gone once the job completed, whole
    // in the trash when it went there.
    const Tree after = treeOf(world.src);
    const auto trashed = valueCounts({ treeOf(world.home / "Trash/files") });
    for (const auto& [path, value] : before) {
        const bool chosen = std::count(sources.begin(), sources.end(), world.src + "/" + path.substr(0, path.find('/')));
        const bool untouched = after.contains(path) && after.at(path) == value;
        RC_ASSERT(chosen || untouched);
        RC_ASSERT(!chosen || outcome.end != End::completed || !after.contains(path));
        RC_ASSERT(!chosen || !toTrash || after.contains(path) || value == "/" || value.empty() || trashed.contains(value));
    }
    if (!toTrash)
        return;
    // Everything that went is noted, so that the undo can bring it back.
    OperationRecord record { RecordKind::moveToTrash, {} };
    for (const TrashedItem& item : trashing.trashed())
        record.addTrashed(item);
    RC_ASSERT(std::count_if(sources.begin(), sources.end(), [](const std::string& path) {
        return !std::filesystem::exists(std::filesystem::symlink_status(path));
    }) == static_cast<std::ptrdiff_t>(record.steps.size()));
    checkUndoAndRedo(world, record, { before, treeOf(world.dst) }, true);
}
