#pragma once

#include "history/OperationRecord.h"
#include "jobs/Job.h"

#include <memory>
#include <string>

namespace kiv {

class Door;

// One quick change to one item through its door, run as a job all the same (a folder on a dead
// mount may never answer): making a folder or renaming an item in its folder, never in place of
// anything, recorded for undo where the item lies on this machine or on a server.
class ItemChangeJob : public Job
{
public:
    // Makes the folder `path` behind `door`.
    static std::shared_ptr<ItemChangeJob> makingFolder(std::shared_ptr<const Door> door, std::string path);
    // Renames the item `from` to `to` behind `door`.
    static std::shared_ptr<ItemChangeJob> renaming(std::shared_ptr<const Door> door, std::string from, std::string to);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    // Fails, with nothing changed, when anything is at the new path or the place refuses.
    JobOutcome run(JobControl& control) override;

    // Returns the record of the change, leaving an empty one; call once the job has ended.
    OperationRecord takeRecord();

private:
    ItemChangeJob(std::shared_ptr<const Door> door, OperationRecord::Kind kind, std::string from, std::string to);
    void change() const;
    void record();

    std::shared_ptr<const Door> m_door;
    std::string m_from; // "" for a new folder
    std::string m_to;
    OperationRecord m_record;
};

} // namespace kiv
