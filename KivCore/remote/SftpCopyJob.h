#pragma once

#include "jobs/Job.h"

#include <memory>
#include <string>
#include <vector>

namespace kiv {

class ItemFailures;
class SftpSession;

// Copies or moves items between the local disk and one server, as a job: downloads (SftpDownload)
// or uploads (SftpUpload), with progress, the conflict question and cancel that leaves no part of
// a file behind. A move removes each item at its source only once its copy is whole: an item the
// copy left anything of out (a failure or a taken name skipped) stays at its source.
class SftpCopyJob : public Job
{
public:
    enum class Direction
    {
        download, // `sources` are paths on the server, `target` a local folder
        upload, // `sources` are local paths, `target` a folder on the server
    };
    enum class Mode
    {
        copy,
        move,
    };

    SftpCopyJob(std::shared_ptr<SftpSession> session, Direction direction, std::vector<std::string> sources,
        std::string target, Mode mode = Mode::copy);

    std::string title() const override { return m_mode == Mode::move ? "Move" : "Copy"; }
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

private:
    template <typename Transfer> JobOutcome runWith(Transfer& transfer, JobControl& control);
    // Removes the source `path` of a whole copy, asking about failures through `failures`.
    void removeSource(const std::string& path, ItemFailures& failures, JobControl& control) const;

    std::shared_ptr<SftpSession> m_session;
    Direction m_direction;
    std::vector<std::string> m_sources;
    std::string m_target;
    Mode m_mode;
};

} // namespace kiv
