#include "files/TransferJob.h"

#include "base/KivError.h"
#include "base/PathString.h"
#include "files/DirectoryChain.h"
#include "files/DiskItem.h"
#include "files/ItemFacts.h"
#include "files/TransferSession.h"
#include "files/TreeCopy.h"
#include "files/TreeCount.h"
#include "files/TreeMove.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "jobs/WorkTally.h"
#include "text/KivFormat.h"

#include <algorithm>

namespace kiv {

namespace {

// A folder copied or moved into itself would never end; refuse before touching anything.
void refuseFolderIntoItself(const std::string& from, const std::string& toFolder, const std::string& verb)
{
    if (DiskItem::isRealFolder(from)
        && PathString::isSameOrInside(ItemFacts::resolved(toFolder), ItemFacts::resolved(from)))
        throw KivError::operationFailed(
            "Cannot " + verb + " the folder " + from + " into itself or into one of its own subfolders.");
}

// What the job left of the items it counted. Run to its end, that is every item neither done nor
// kept at its source, whether a taken name or a failure left it, and a folder that could not be
// read counts with all it holds: the summary adds up. Cancelled, the items never reached are no
// skipped ones, so the items and failures skipped on the way are counted instead (a source that
// could not be removed was asked about as a failure, but it is counted apart).
std::int64_t skippedItems(const TransferSession& session, const WorkTally& tally)
{
    if (tally.cancelled)
        return session.skipped + session.failures.skipped() - session.sourcesKept;
    return std::max<std::int64_t>(0, tally.total - tally.done - tally.sourcesKept);
}

} // namespace

TransferJob::TransferJob(
    Mode mode, std::vector<Item> items, std::string targetFolder, std::shared_ptr<const TrashBin> trash)
    : m_mode(mode)
    , m_items(std::move(items))
    , m_targetFolder(std::move(targetFolder))
    , m_trash(std::move(trash))
{
    for (Item& item : m_items)
        item.source = PathString::standardizing(item.source);
}

std::vector<TransferJob::Item> TransferJob::keepingNames(const std::vector<std::string>& sources)
{
    std::vector<Item> items;
    for (const std::string& source : sources)
        items.push_back({ source, PathString::lastComponent(PathString::standardizing(source)) });
    return items;
}

std::string TransferJob::title() const
{
    return m_mode == Mode::copy ? "Copy" : "Move";
}

std::string TransferJob::description() const
{
    const std::string what
        = m_items.size() == 1 ? PathString::lastComponent(m_items.front().source) : KivFormat::itemCount(std::ssize(m_items));
    return title() + " " + what + " to " + m_targetFolder;
}

JobFootprint TransferJob::footprint() const
{
    JobFootprint footprint;
    for (const Item& item : m_items) {
        (m_mode == Mode::copy ? footprint.reads : footprint.writes).push_back(item.source);
        footprint.writes.push_back(PathString::appendingComponent(m_targetFolder, item.targetName));
    }
    return footprint;
}

void TransferJob::count(JobControl& control, std::int64_t& total) const
{
    for (const Item& item : m_items) {
        // A rename moves a whole folder in one step: it counts as one item.
        if (m_mode == Mode::move && TreeMove::isRename(item.source, m_targetFolder)) {
            control.addToTotals(1, 0);
            total += 1;
            continue;
        }
        DirectoryChain chain(PathString::parentOrRoot(item.source));
        total += TreeCount::count(chain, PathString::lastComponent(item.source), &control).items;
    }
}

JobOutcome TransferJob::run(JobControl& control)
{
    TransferSession session(control, m_trash.get());
    WorkTally tally;
    const std::string verb = m_mode == Mode::copy ? "copy" : "move";
    try {
        count(control, tally.total);
        control.startWorking();
        DirectoryChain to(m_targetFolder);
        for (const Item& item : m_items) {
            if (!session.failures.attempt(
                    [&] { refuseFolderIntoItself(item.source, m_targetFolder, verb); }, item.source))
                continue;
            DirectoryChain from(PathString::parentOrRoot(item.source));
            const std::string name = PathString::lastComponent(item.source);
            if (m_mode == Mode::copy)
                TreeCopy::copy(session, from, name, to, item.targetName, TreeCopy::Source::keep);
            else
                TreeMove::move(session, from, name, to, item.targetName, TreeMove::Counting::asOne);
        }
    } catch (const JobCancelled&) {
        tally.cancelled = true;
    }
    m_report = std::move(session.report);
    tally.done = session.done;
    tally.sourcesKept = session.sourcesKept;
    tally.skipped = skippedItems(session, tally);
    tally.lastFailure = session.failures.lastFailure();
    return tally.outcome(m_mode == Mode::copy ? "Copied" : "Moved");
}

} // namespace kiv
