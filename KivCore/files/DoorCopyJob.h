#pragma once

#include "files/TransferReport.h"
#include "jobs/Job.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kiv {

class Door;

// Copies or moves items from one place into a folder of another as a job, whichever two places
// they are: the items are read through the source's door and written through the target's
// (DoorCopy), with progress, the conflict question and cancel that leaves no part of a file
// behind. A move removes each item at its source (Door::removeTree) only once its copy is whole:
// an item the copy left anything of out (a failure or a taken name skipped) stays at its source.
class DoorCopyJob : public Job
{
public:
    enum class Mode
    {
        copy,
        move,
    };

    // Copies or moves `sources`, paths on `from`, into the folder `target` on `to`. Nothing moves
    // out of an archive (a move from one fails with nothing done).
    DoorCopyJob(std::shared_ptr<const Door> from, std::vector<std::string> sources, std::shared_ptr<const Door> to,
        std::string target, Mode mode = Mode::copy);

    std::string title() const override { return m_mode == Mode::move ? "Move" : "Copy"; }
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

    // Returns what the copy made anew at its target, for undo. The reference lasts as long as the job.
    const TransferReport& report() const { return m_report; }

private:
    // Why the job cannot start, or nothing.
    std::optional<std::string> refusal() const;
    // The paths of this machine among `paths` on `door`, and the archive file an archive's are in.
    static std::vector<std::string> localPaths(const Door& door, const std::vector<std::string>& paths);

    std::shared_ptr<const Door> m_from;
    std::vector<std::string> m_sources;
    std::shared_ptr<const Door> m_to;
    std::string m_target;
    Mode m_mode;
    TransferReport m_report;
};

} // namespace kiv
