#include "sync/SyncJob.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PathString.h"
#include "base/PlatformCalls.h"
#include "base/UniqueFd.h"
#include "files/DeleteJob.h"
#include "files/FreeName.h"
#include "files/TransferJob.h"
#include "jobs/ItemFailures.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "jobs/WorkTally.h"
#include "text/KivFormat.h"

#include <cerrno>
#include <fcntl.h>
#include <system_error>

namespace kiv {

namespace {

using Action = SyncItem::Action;

// A copy whose failure the user already chose to skip when the copy asked: not asked again.
struct PartSkipped
{
    std::string summary;
};

// Runs a copy as a part of the synchronization: a cancel ends it, anything less than whole ends the item.
void runPart(Job&& job, JobControl& control)
{
    const JobOutcome outcome = job.run(control);
    if (outcome.end == JobOutcome::End::cancelled)
        throw JobCancelled();
    if (outcome.end == JobOutcome::End::incomplete)
        throw PartSkipped { outcome.summary };
    if (outcome.end != JobOutcome::End::completed)
        throw KivError::operationFailed(outcome.summary);
}

std::string temporaryIn(const std::string& folder)
{
    const UniqueFd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folderFd.valid())
        throwSystemError(errno, folder);
    return FreeName::temporary(folderFd.get());
}

} // namespace

SyncJob::SyncJob(std::string leftRoot, std::string rightRoot, std::vector<SyncItem> items, Trash trash)
    : m_leftRoot(std::move(leftRoot))
    , m_rightRoot(std::move(rightRoot))
    , m_items(std::move(items))
    , m_trash(std::move(trash))
{
    std::erase_if(m_items, [](const SyncItem& item) { return item.action == Action::skip; });
}

std::string SyncJob::title() const
{
    return "Synchronize";
}

std::string SyncJob::description() const
{
    return "Synchronize " + m_leftRoot + " and " + m_rightRoot + ": " + KivFormat::itemCount(std::ssize(m_items));
}

JobFootprint SyncJob::footprint() const
{
    return { {}, { m_leftRoot, m_rightRoot } };
}

std::string SyncJob::leftPath(const SyncItem& item) const
{
    return PathString::appendingComponent(m_leftRoot, item.path);
}

std::string SyncJob::rightPath(const SyncItem& item) const
{
    return PathString::appendingComponent(m_rightRoot, item.path);
}

bool SyncJob::stillAsCompared(const SyncItem& item) const
{
    return SyncSide::of(leftPath(item)) == item.left && SyncSide::of(rightPath(item)) == item.right;
}

void SyncJob::carryOut(const SyncItem& item, JobControl& control)
{
    const bool toRight = item.action == Action::copyToRight || item.action == Action::deleteRight;
    const std::string source = toRight ? leftPath(item) : rightPath(item);
    const std::string target = toRight ? rightPath(item) : leftPath(item);
    if (item.action == Action::deleteLeft || item.action == Action::deleteRight) {
        m_record.addTrashed(m_trash.moveToTrash(target));
        return;
    }
    if ((toRight ? item.right : item.left).has_value())
        copyOnto(source, target, control);
    else
        copyInto(source, PathString::parentOrRoot(target), PathString::lastComponent(target), control);
}

void SyncJob::copyInto(
    const std::string& source, const std::string& folder, const std::string& name, JobControl& control)
{
    runPart(TransferJob(TransferJob::Mode::copy, { { source, name } }, folder), control);
    m_record.addMade(source, PathString::appendingComponent(folder, name));
}

// The copy is made whole beside the old item before the old item goes to the trash.
void SyncJob::copyOnto(const std::string& source, const std::string& target, JobControl& control)
{
    const std::string folder = PathString::parentOrRoot(target);
    const std::string beside = PathString::appendingComponent(folder, temporaryIn(folder));
    try {
        runPart(
            TransferJob(TransferJob::Mode::copy, { { source, PathString::lastComponent(beside) } }, folder),
            control);
        const TrashedItem old = m_trash.moveToTrash(target);
        if (PlatformCalls::renameExclusive(beside.c_str(), target.c_str()) != 0)
            putBack(old, errno);
        m_record.addTrashed(old);
    } catch (...) {
        JobControl quiet;
        DeleteJob({ beside }).run(quiet);
        throw;
    }
    m_record.addMade(source, target);
}

// The copy could not take the old item's place (`error`): the old one comes back from the trash.
void SyncJob::putBack(const TrashedItem& old, int error)
{
    const std::string failure = std::generic_category().message(error) + ": " + old.originalPath;
    try {
        m_trash.restore(old);
    } catch (const std::exception& again) {
        m_record.addTrashed(old); // so that an undo can still bring it back
        throw KivError::operationFailed(failure + "; the old item stays in the trash: " + userMessage(again));
    }
    throwSystemError(error, old.originalPath);
}

// Returns whether `item` was carried out; an item changed since the comparison is noted instead.
bool SyncJob::attempt(const SyncItem& item, JobControl& control, ItemFailures& failures)
{
    bool changed = false;
    try {
        const bool done = failures.attempt(
            [&] {
                changed = !stillAsCompared(item);
                if (!changed)
                    carryOut(item, control);
            },
            item.path);
        if (changed)
            m_changedSince.push_back(item.path);
        return done && !changed;
    } catch (const PartSkipped& skipped) {
        m_partFailure = skipped.summary;
        return false;
    }
}

JobOutcome SyncJob::run(JobControl& control)
{
    WorkTally tally;
    tally.total = std::int64_t(m_items.size());
    ItemFailures failures(control);
    try {
        for (const SyncItem& item : m_items) {
            control.throwIfCancelled();
            control.beginItem(item.path, 0);
            (attempt(item, control, failures) ? tally.done : tally.skipped) += 1;
        }
    } catch (const JobCancelled&) {
        tally.cancelled = true;
    }
    tally.lastFailure = failures.lastFailure().empty() ? m_partFailure : failures.lastFailure();
    if (!m_changedSince.empty())
        tally.lastFailure = KivFormat::itemCount(std::ssize(m_changedSince))
            + " changed since the comparison and stayed as they were, the first: " + m_changedSince.front();
    return tally.outcome("Synchronized");
}

OperationRecord SyncJob::takeRecord()
{
    return m_record.taken();
}

} // namespace kiv
