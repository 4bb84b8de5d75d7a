#pragma once

#include "files/TransferReport.h"
#include "jobs/Job.h"

#include <memory>
#include <string>
#include <vector>

namespace kiv {

class SftpDoor;

// Moves items within one server by renaming them there, as a job: nothing is copied and nothing
// replaced. When `destination` is a folder on the server, each item goes into it under its own
// name; otherwise the one item takes `destination` as its new path. An item that cannot be renamed
// (a name taken, a refusal, a lost connection) is asked about: Retry, Skip, Skip all, Cancel.
class SftpRenameJob : public Job
{
public:
    // Renames the items at `paths` on the server behind `door` to or into `destination`.
    SftpRenameJob(std::shared_ptr<const SftpDoor> door, std::vector<std::string> paths, std::string destination);

    std::string title() const override { return "Move"; }
    // "Move sftp://user@host/a to /b" or "Move 3 items to /b".
    std::string description() const override;
    // Nothing of this machine: a server's paths never clash with local ones.
    JobFootprint footprint() const override { return {}; }
    // Fails at once when several items are to go to what is no folder.
    JobOutcome run(JobControl& control) override;

    // Returns the items the last run renamed, for undo. The reference lasts as long as the job.
    const TransferReport& report() const { return m_report; }

private:
    std::shared_ptr<const SftpDoor> m_door;
    std::vector<std::string> m_paths;
    std::string m_destination;
    TransferReport m_report;
};

} // namespace kiv
