#pragma once

#include "archives/ArchiveService.h"
#include "files/TransferReport.h"
#include "jobs/Job.h"

#include <string>
#include <vector>

namespace kiv {

// Extracts members of an archive, or the whole archive, into a folder, asking about each taken
// name. How the members come out of the archive is the ArchiveService's business; the job hands
// it its control, so a cancel stops the extraction at once.
class ExtractJob : public Job
{
public:
    // One member to take out.
    struct Member
    {
        std::string path; // inside the archive
        ArchiveService::Member kind;
    };

    // Extracts `members` of the archive at `archivePath` (every member when empty) below `destination`.
    ExtractJob(std::string archivePath, std::vector<Member> members, std::string destination);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

    // Returns what the last run made anew, for undo; what replaced an item is not in it.
    const TransferReport& report() const { return m_report; }

private:
    ArchiveService m_archives;
    std::string m_archivePath;
    std::vector<Member> m_members;
    std::string m_destination;
    TransferReport m_report;
};

} // namespace kiv
