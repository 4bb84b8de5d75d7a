#include "files/FolderSizeJob.h"

#include "base/PathString.h"
#include "doors/Door.h"
#include "doors/DoorWalk.h"
#include "files/TreeWalk.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "text/KivFormat.h"

#include <set>
#include <utility>

namespace kiv {

namespace {

void countRefusal(FolderSizeJob::Size& size, const std::string& folder, const std::string& why)
{
    size.unreadable += 1;
    size.lastRefusal = why + ": " + folder;
}

// The listing counts the items into the progress; the bytes are counted here.
FolderSizeJob::Size measureThrough(const Door& door, const std::string& path, JobControl& control)
{
    FolderSizeJob::Size size;
    const auto visit = [&](const std::string&, const FileEntry& row) {
        if (row.kind == FileEntry::Kind::directory) {
            size.folders += 1;
            return;
        }
        const bool isFile = row.kind == FileEntry::Kind::regularFile || row.kind == FileEntry::Kind::archive;
        const std::int64_t bytes = isFile ? row.size : 0;
        size.files += 1;
        size.bytes += bytes;
        control.finishItems(0, bytes);
    };
    const auto refused
        = [&](const std::string& folder, const std::string& why) { countRefusal(size, folder, why); };
    DoorWalk(door, visit, refused, &control).walk(path);
    return size;
}

} // namespace

FolderSizeJob::FolderSizeJob(
    std::vector<std::string> paths, Measured onMeasured, std::shared_ptr<const Door> door)
    : m_paths(std::move(paths))
    , m_onMeasured(std::move(onMeasured))
    , m_door(std::move(door))
{
}

FolderSizeJob::Size FolderSizeJob::measure(const std::string& path, JobControl* control)
{
    Size size;
    // Only files with more than one name can be met twice; the rest need no remembering.
    std::set<std::pair<dev_t, ino_t>> linkedFiles;
    const auto visit = [&](const TreeWalk::Item& item) {
        if (item.isFolder) {
            size.folders += 1;
            return;
        }
        const struct stat& status = *item.status;
        if (status.st_nlink > 1 && !linkedFiles.emplace(status.st_dev, status.st_ino).second)
            return;
        const std::int64_t bytes = item.isRegularFile ? status.st_size : 0;
        size.files += 1;
        size.bytes += bytes;
        if (control)
            control->finishItems(1, bytes);
    };
    const auto refused
        = [&](const std::string& folder, const std::string& why) { countRefusal(size, folder, why); };
    TreeWalk(TreeWalk::Detail::status, visit, refused, control).walk(path);
    return size;
}

std::string FolderSizeJob::title() const
{
    return "Folder size";
}

std::string FolderSizeJob::description() const
{
    const auto shown = [this](const std::string& path) { return m_door ? m_door->displayPath(path) : path; };
    if (m_paths.size() == 1)
        return "Measure " + shown(m_paths.front());
    return "Measure " + std::to_string(m_paths.size()) + " folders in "
        + shown(PathString::parentOrRoot(m_paths.front()));
}

// A footprint names paths of this machine only.
JobFootprint FolderSizeJob::footprint() const
{
    return m_door ? JobFootprint {} : JobFootprint { m_paths, {} };
}

FolderSizeJob::Size FolderSizeJob::measureOne(const std::string& path, JobControl& control) const
{
    return m_door ? measureThrough(*m_door, path, control) : measure(path, &control);
}

JobOutcome FolderSizeJob::run(JobControl& control)
{
    control.startWorking();
    Size total;
    std::int64_t measured = 0;
    try {
        for (const std::string& path : m_paths) {
            control.beginItem(path, 0);
            const Size size = measureOne(path, control);
            measured += 1;
            total.bytes += size.bytes;
            total.unreadable += size.unreadable;
            if (!size.lastRefusal.empty())
                total.lastRefusal = size.lastRefusal;
            if (m_onMeasured)
                m_onMeasured(path, size);
        }
    } catch (const JobCancelled&) {
        return { JobOutcome::End::cancelled,
            "Measured " + KivFormat::grouped(measured) + " of " + KivFormat::grouped(std::ssize(m_paths))
                + " folders; cancelled" };
    }
    std::string summary = "Measured " + KivFormat::grouped(measured)
        + (measured == 1 ? " folder: " : " folders: ") + KivFormat::grouped(total.bytes) + " bytes";
    if (total.unreadable == 0)
        return { JobOutcome::End::completed, summary };
    summary += "; " + KivFormat::grouped(total.unreadable) + " folder(s) could not be read, the last:\n"
        + total.lastRefusal;
    return { JobOutcome::End::incomplete, summary };
}

} // namespace kiv
