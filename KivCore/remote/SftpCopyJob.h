#pragma once

#include "files/TransferReport.h"
#include "jobs/Job.h"

#include <memory>
#include <string>
#include <vector>

namespace kiv {

class Door;
class ItemFailures;
class SftpSession;

// Copies or moves items between one server and the local disk, or copies items out of an archive
// onto a server, as a job: downloads (SftpDownload) or uploads (SftpUpload), with progress, the
// conflict question and cancel that leaves no part of a file behind. A move removes each item at
// its source only once its copy is whole: an item the copy left anything of out (a failure or a
// taken name skipped) stays at its source.
class SftpCopyJob : public Job
{
public:
    enum class Direction
    {
        download, // `sources` are paths on the server, `target` a local folder
        upload, // `sources` are paths on the source door, `target` a folder on the server
    };
    enum class Mode
    {
        copy,
        move,
    };

    // Copies or moves `sources` into `target` in `direction`. An upload reads its sources through
    // `from`, the local disk when null; only the local disk's items are ever moved (a move from
    // anywhere else fails with nothing done).
    SftpCopyJob(std::shared_ptr<SftpSession> session, Direction direction, std::vector<std::string> sources,
        std::string target, Mode mode = Mode::copy, std::shared_ptr<const Door> from = nullptr);

    std::string title() const override { return m_mode == Mode::move ? "Move" : "Copy"; }
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

    // Returns what an upload made anew on the server, for undo; empty for a download. The reference
    // lasts as long as the job.
    const TransferReport& report() const { return m_report; }

private:
    template <typename Transfer> JobOutcome runWith(Transfer& transfer, JobControl& control);
    // Removes the source `path` of a whole copy, asking about failures through `failures`.
    void removeSource(const std::string& path, ItemFailures& failures, JobControl& control) const;

    std::shared_ptr<SftpSession> m_session;
    std::shared_ptr<const Door> m_from; // an upload's source door
    Direction m_direction;
    std::vector<std::string> m_sources;
    std::string m_target;
    Mode m_mode;
    TransferReport m_report;
};

} // namespace kiv
