#pragma once

#include "jobs/Job.h"

#include <memory>
#include <string>
#include <vector>

namespace kiv {

class SftpSession;

// Copies items between the local disk and one server, as a job: downloads (SftpDownload) or
// uploads (SftpUpload), with progress, the conflict question and cancel that leaves no part of a
// file behind.
class SftpCopyJob : public Job
{
public:
    enum class Direction
    {
        download, // `sources` are paths on the server, `target` a local folder
        upload, // `sources` are local paths, `target` a folder on the server
    };

    SftpCopyJob(std::shared_ptr<SftpSession> session, Direction direction, std::vector<std::string> sources,
        std::string target);

    std::string title() const override { return "Copy"; }
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

private:
    template <typename Transfer> JobOutcome runWith(Transfer& transfer, JobControl& control);

    std::shared_ptr<SftpSession> m_session;
    Direction m_direction;
    std::vector<std::string> m_sources;
    std::string m_target;
};

} // namespace kiv
