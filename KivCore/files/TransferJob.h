#pragma once

#include "files/TransferReport.h"
#include "jobs/Job.h"

#include <memory>
#include <string>
#include <vector>

namespace kiv {

class TrashBin;

// Copies or moves items into one folder, each under a name of its own: first counts them, then
// copies (TreeCopy) or moves (TreeMove) them one after another.
class TransferJob : public Job
{
public:
    enum class Mode
    {
        copy,
        move,
    };
    // One item: its path, and its name in the target folder.
    struct Item
    {
        std::string source;
        std::string targetName;
    };

    // Copies or moves `items` into the folder `targetFolder`. An item the user chooses to replace
    // with one of another kind goes to `trash` first; without one that choice is refused.
    TransferJob(Mode mode, std::vector<Item> items, std::string targetFolder,
        std::shared_ptr<const TrashBin> trash = nullptr);
    // The same for items that keep their own names.
    static std::vector<Item> keepingNames(const std::vector<std::string>& sources);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

    // Returns what the last run made anew or moved, for undo; empty before a run. The reference
    // lasts as long as the job.
    const TransferReport& report() const { return m_report; }

private:
    void count(JobControl& control, std::int64_t& total) const;

    Mode m_mode;
    std::vector<Item> m_items;
    std::string m_targetFolder;
    std::shared_ptr<const TrashBin> m_trash;
    TransferReport m_report;
};

} // namespace kiv
