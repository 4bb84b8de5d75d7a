#pragma once

#include "jobs/Job.h"
#include "remote/RemotePlace.h"

#include <memory>
#include <string>

namespace kiv {

class SftpDoor;

// Opens the door to a server as a job, so that a panel can go there: connects and logs in (asking
// about an unknown host key and for passwords through the job's questions), then finds the
// folder the place names, the login folder when it names none. Never blocks the caller's thread.
class SftpConnectJob : public Job
{
public:
    // Connects to the server of `place` once run.
    explicit SftpConnectJob(RemotePlace place);

    std::string title() const override { return "Connect"; }
    std::string description() const override;
    JobFootprint footprint() const override { return {}; }
    // Fails with RemoteError's text when the server cannot be reached or refuses.
    JobOutcome run(JobControl& control) override;

    // The door opened, or null before a completed run.
    const std::shared_ptr<const SftpDoor>& door() const { return m_door; }
    // The folder's absolute path on the server; "" before a completed run.
    const std::string& folder() const { return m_folder; }

private:
    RemotePlace m_place;
    std::shared_ptr<const SftpDoor> m_door;
    std::string m_folder;
};

} // namespace kiv
