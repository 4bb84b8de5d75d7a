#include "files/DoorCopyJob.h"

#include "base/PathString.h"
#include "doors/Door.h"
#include "doors/DoorItem.h"
#include "files/DoorCopy.h"
#include "jobs/ItemFailures.h"
#include "jobs/JobControl.h"
#include "text/KivFormat.h"

namespace kiv {

DoorCopyJob::DoorCopyJob(std::shared_ptr<const Door> from, std::vector<std::string> sources,
    std::shared_ptr<const Door> to, std::string target, Mode mode)
    : m_from(std::move(from))
    , m_sources(std::move(sources))
    , m_to(std::move(to))
    , m_target(std::move(target))
    , m_mode(mode)
{
}

std::string DoorCopyJob::description() const
{
    const std::string what = m_sources.size() != 1 ? KivFormat::itemCount(std::ssize(m_sources))
                                                   : m_from->displayPath(m_sources.front());
    return title() + " " + what + " to " + m_to->displayPath(m_target);
}

// Only what lies on this machine: paths on a server never clash with local ones.
JobFootprint DoorCopyJob::footprint() const
{
    std::vector<std::string> sources = localPaths(*m_from, m_sources);
    std::vector<std::string> written = localPaths(*m_to, { m_target });
    // A move changes its sources too.
    if (m_mode == Mode::move) {
        written.insert(written.end(), sources.begin(), sources.end());
        sources.clear();
    }
    return { std::move(sources), std::move(written) };
}

std::vector<std::string> DoorCopyJob::localPaths(const Door& door, const std::vector<std::string>& paths)
{
    if (const DoorItem* archive = door.container())
        return localPaths(*archive->door, { archive->path });
    std::vector<std::string> local;
    for (const std::string& path : paths)
        if (std::optional<std::string> found = door.localPath(path))
            local.push_back(std::move(*found));
    return local;
}

// Told before anything is done: nothing is ever taken out of an archive, and a folder copied into
// itself would never end (seen from the paths).
std::optional<std::string> DoorCopyJob::refusal() const
{
    if (m_mode == Mode::move && m_from->kind() == Door::Kind::archive)
        return "Nothing is moved out of an archive.";
    if (!m_from->isSamePlace(*m_to))
        return std::nullopt;
    const std::string target = PathString::standardizing(m_target);
    for (const std::string& source : m_sources)
        if (PathString::isSameOrInside(target, PathString::standardizing(source)))
            return "Cannot " + std::string(m_mode == Mode::move ? "move" : "copy") + " the folder "
                + m_from->displayPath(source) + " into itself or into one of its own subfolders.";
    return std::nullopt;
}

JobOutcome DoorCopyJob::run(JobControl& control)
{
    if (const std::optional<std::string> why = refusal())
        return { JobOutcome::End::failed, *why };
    DoorCopy transfer(m_from, m_to, control, m_report);
    for (const std::string& source : m_sources)
        transfer.count(source);
    // A move removes each item it copied: the removals count as items too.
    if (m_mode == Mode::move)
        control.addToTotals(control.progress().itemsTotal, 0);
    control.startWorking();
    ItemFailures removals(control);
    int kept = 0;
    for (const std::string& source : m_sources) {
        const int leftOut = transfer.leftOut();
        transfer.copy(source, m_target);
        if (m_mode == Mode::copy)
            continue;
        if (transfer.leftOut() == leftOut)
            m_from->removeTree(source, removals, control);
        else
            ++kept;
    }
    const int skipped = transfer.failures().skipped() + removals.skipped();
    if (skipped > 0) {
        const std::string& last
            = removals.lastFailure().empty() ? transfer.failures().lastFailure() : removals.lastFailure();
        return { JobOutcome::End::incomplete, std::to_string(skipped) + " items skipped; " + last };
    }
    if (kept > 0)
        return { JobOutcome::End::incomplete,
            std::to_string(kept) + " items stay where they were: not all of each was copied", true };
    return { JobOutcome::End::completed, m_mode == Mode::move ? "Moved" : "Copied" };
}

} // namespace kiv
