#include "rename/RenameSetJob.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PathString.h"
#include "base/PlatformCalls.h"
#include "base/UniqueFd.h"
#include "files/FreeName.h"
#include "jobs/ItemFailures.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "jobs/WorkTally.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unordered_map>

namespace kiv {

namespace {

constexpr std::size_t none = std::size_t(-1);

bool sameItem(const std::string& a, const std::string& b)
{
    struct stat first, second;
    return ::lstat(a.c_str(), &first) == 0 && ::lstat(b.c_str(), &second) == 0
        && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::string temporaryBeside(const std::string& path)
{
    const std::string folder = PathString::parentOrRoot(path);
    const UniqueFd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folderFd.valid())
        throwSystemError(errno, folder);
    return PathString::appendingComponent(folder, FreeName::temporary(folderFd.get()));
}

void renameExclusively(const std::string& from, const std::string& to)
{
    if (PlatformCalls::renameExclusive(from.c_str(), to.c_str()) == 0)
        return;
    if (errno == EEXIST)
        throw KivError::alreadyExists(to);
    throwSystemError(errno, from);
}

// The renames made so far in one group, undone in reverse when the group cannot be finished.
class GroupSteps
{
public:
    void rename(const std::string& from, const std::string& to)
    {
        try {
            renameExclusively(from, to);
        } catch (const KivError& error) {
            // A file system that ignores case finds "A" where "a" is: that is the item itself.
            if (error.errorCase() != KivError::Case::alreadyExists || !sameItem(from, to))
                throw;
            const std::string temporary = temporaryBeside(from);
            renameExclusively(from, temporary);
            m_done.push_back({ from, temporary });
            renameExclusively(temporary, to);
            m_done.back().to = to;
            return;
        }
        m_done.push_back({ from, to });
    }

    // Puts every item back; returns what could not be put back, "" when all were.
    std::string undo()
    {
        std::string stuck;
        for (auto step = m_done.rbegin(); step != m_done.rend(); ++step) {
            if (PlatformCalls::renameExclusive(step->to.c_str(), step->from.c_str()) != 0)
                stuck += "; " + step->to + " could not get its name " + PathString::lastComponent(step->from)
                    + " back";
        }
        return stuck;
    }

private:
    std::vector<RenameSetJob::Rename> m_done;
};

} // namespace

RenameSetJob::RenameSetJob(std::vector<Rename> renames)
    : m_renames(std::move(renames))
{
}

std::string RenameSetJob::title() const
{
    return "Rename";
}

std::string RenameSetJob::description() const
{
    if (m_renames.size() == 1)
        return "Rename " + m_renames.front().from + " to " + PathString::lastComponent(m_renames.front().to);
    return "Rename " + std::to_string(m_renames.size()) + " items in "
        + PathString::parentOrRoot(m_renames.front().from);
}

JobFootprint RenameSetJob::footprint() const
{
    JobFootprint footprint;
    for (const Rename& rename : m_renames) {
        footprint.writes.push_back(rename.from);
        footprint.writes.push_back(rename.to);
    }
    return footprint;
}

// Each item's new name is held by at most one other item, and each item's old name is wanted by
// at most one: the set falls into chains, whose last new name is free, and rings.
std::vector<RenameSetJob::Group> RenameSetJob::groups() const
{
    std::unordered_map<std::string, std::size_t> holder;
    for (std::size_t index = 0; index < m_renames.size(); ++index)
        holder.emplace(m_renames[index].from, index);
    std::vector<std::size_t> next(m_renames.size(), none);
    std::vector<bool> wanted(m_renames.size(), false);
    for (std::size_t index = 0; index < m_renames.size(); ++index) {
        if (const auto found = holder.find(m_renames[index].to); found != holder.end()) {
            next[index] = found->second;
            wanted[found->second] = true;
        }
    }
    std::vector<Group> groups;
    std::vector<bool> grouped(m_renames.size(), false);
    const auto follow = [&](std::size_t start) {
        std::vector<std::size_t> members;
        for (std::size_t at = start; at != none && !grouped[at]; at = next[at]) {
            grouped[at] = true;
            members.push_back(at);
        }
        return members;
    };
    for (std::size_t index = 0; index < m_renames.size(); ++index) {
        if (!wanted[index]) {
            auto chain = follow(index);
            std::reverse(chain.begin(), chain.end()); // the free end first
            groups.push_back({ std::move(chain), false });
        }
    }
    for (std::size_t index = 0; index < m_renames.size(); ++index) {
        if (!grouped[index]) {
            auto ring = follow(index);
            std::reverse(ring.begin() + 1, ring.end()); // the first steps aside, the rest follow it round
            groups.push_back({ std::move(ring), true });
        }
    }
    return groups;
}

void RenameSetJob::renameGroup(const Group& group)
{
    GroupSteps steps;
    try {
        const Rename& first = m_renames[group.order.front()];
        const std::string aside = group.ring ? temporaryBeside(first.from) : std::string();
        if (group.ring)
            steps.rename(first.from, aside);
        for (std::size_t at = group.ring ? 1 : 0; at < group.order.size(); ++at)
            steps.rename(m_renames[group.order[at]].from, m_renames[group.order[at]].to);
        if (group.ring)
            steps.rename(aside, first.to);
    } catch (const std::exception& error) {
        const std::string stuck = steps.undo();
        if (stuck.empty())
            throw;
        throw KivError::operationFailed(userMessage(error) + stuck);
    }
    for (const std::size_t index : group.order)
        m_report.addMoved(m_renames[index].from, m_renames[index].to);
}

JobOutcome RenameSetJob::run(JobControl& control)
{
    control.addToTotals(std::int64_t(m_renames.size()), 0);
    control.startWorking();
    WorkTally tally;
    tally.total = std::int64_t(m_renames.size());
    ItemFailures failures(control);
    try {
        for (const Group& group : groups()) {
            control.throwIfCancelled();
            const std::string& first = m_renames[group.order.front()].from;
            control.beginItem(first, 0);
            const auto size = std::int64_t(group.order.size());
            if (failures.attempt([&] { renameGroup(group); }, first))
                tally.done += size;
            else
                tally.skipped += size;
            control.finishItems(size, 0);
        }
    } catch (const JobCancelled&) {
        tally.cancelled = true;
    }
    tally.lastFailure = m_lastFailure = failures.lastFailure();
    return tally.outcome("Renamed");
}

} // namespace kiv
