#pragma once

#include "files/TransferReport.h"
#include "jobs/Job.h"

#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// Packs files and folders into a new archive whose format follows its name's suffix. The archive
// is written beside its place under a temporary name and put there only once complete, so a
// cancel or a failure leaves no half archive, and an existing file is replaced only when the
// conflict question says so.
class PackJob : public Job
{
public:
    // Packs `sources` (absolute paths; each goes in under its own name, a folder with everything
    // below it, links as links) into `archivePath`.
    PackJob(std::vector<std::string> sources, std::string archivePath);

    // Returns whether a name ends in a suffix whose format can be written (any case).
    static bool canWrite(std::string_view archiveName);
    // The suffixes canWrite() takes, joined by `separator`, in the order the user is told them.
    static std::string writableSuffixes(std::string_view separator);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

    // Returns the archive the run made anew, for undo; empty when it replaced a file or failed.
    const TransferReport& report() const { return m_report; }

private:
    std::vector<std::string> m_sources;
    std::string m_archivePath;
    TransferReport m_report;
};

} // namespace kiv
