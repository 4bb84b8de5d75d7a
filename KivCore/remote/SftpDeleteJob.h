#pragma once

#include "jobs/Job.h"

#include <memory>
#include <string>
#include <vector>

namespace kiv {

class SftpDoor;

// Deletes items on a server for good, each with everything in it (a server has no trash), as a
// job: each removed item counts into the progress, cancel stops between two items, and an item
// that cannot be removed (a refusal, a lost connection) is asked about: Retry, Skip, Skip all,
// Cancel. What was removed before stays removed.
class SftpDeleteJob : public Job
{
public:
    // Deletes the items at `paths` on the server behind `door`.
    SftpDeleteJob(std::shared_ptr<const SftpDoor> door, std::vector<std::string> paths);

    std::string title() const override { return "Delete"; }
    // "Delete sftp://user@host/path" or "Delete 3 items in sftp://user@host/folder".
    std::string description() const override;
    // Nothing of this machine: a server's paths never clash with local ones.
    JobFootprint footprint() const override { return {}; }
    JobOutcome run(JobControl& control) override;

private:
    std::shared_ptr<const SftpDoor> m_door;
    std::vector<std::string> m_paths;
};

} // namespace kiv
