#pragma once

#include "jobs/Job.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kiv {

class Door;

// Measures whole folders: the bytes of every regular file below each, links never followed and a
// file with several hard links counted once. Folders it cannot read are counted and the walk goes
// on beside them. Folders behind a door of another place (a server's) are walked through its
// listing, where a file with several names counts each time: such a place tells no inodes.
class FolderSizeJob : public Job
{
public:
    // What one folder holds.
    struct Size
    {
        std::int64_t bytes = 0;
        std::int64_t files = 0; // everything that is not a folder
        std::int64_t folders = 0; // below the folder measured
        std::int64_t unreadable = 0; // folders that could not be opened or read
        std::string lastRefusal; // "Permission denied: /x/y", "" when none happened

        bool operator==(const Size&) const = default;
    };

    // Called on the job's thread as each folder is measured, with its path and size; a folder the
    // job was cancelled in is not reported.
    using Measured = std::function<void(const std::string& path, const Size& size)>;

    // Measures the folders at `paths`, reporting each through `onMeasured` (may be empty); the
    // paths are those of `door`, or of this machine's disk when it is null.
    FolderSizeJob(
        std::vector<std::string> paths, Measured onMeasured, std::shared_ptr<const Door> door = nullptr);

    // Returns the size of the folder `path` on the calling thread; checks `control` (may be null)
    // for cancellation and then throws JobCancelled.
    static Size measure(const std::string& path, JobControl* control);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

private:
    Size measureOne(const std::string& path, JobControl& control) const;

    std::vector<std::string> m_paths;
    Measured m_onMeasured;
    std::shared_ptr<const Door> m_door;
};

} // namespace kiv
