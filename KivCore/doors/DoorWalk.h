#pragma once

#include "base/FileEntry.h"

#include <functional>
#include <string>

namespace kiv {

class Door;
class JobControl;

// Visits every item below a folder behind a door, depth first, through the door's own listing:
// the walk for a place whose folders are no folders of this machine (a server's). Links are never
// followed. A folder the place refuses to list is reported and the walk goes on beside it; any
// other failure (a lost connection) ends the walk, as it would end every listing after it.
class DoorWalk
{
public:
    // Hears of one item: the folder holding it and its row (never "..").
    using Visit = std::function<void(const std::string& folder, const FileEntry& row)>;
    // Hears of a folder that could not be listed: its path and the reason for the user ("Permission
    // denied").
    using Refusal = std::function<void(const std::string& path, const std::string& why)>;

    // Walks `door`, calling `visit` for each item and `refused` for each folder refused; counts the
    // items listed into `control` (may be null) and checks it for cancellation.
    DoorWalk(const Door& door, Visit visit, Refusal refused, JobControl* control);

    // Walks the tree below the folder `root` (the root itself is not visited). Throws JobCancelled
    // once the job is cancelled, and what the door throws for anything but a refused folder.
    void walk(const std::string& root);

private:
    void walkFolder(const std::string& folder);

    const Door& m_door;
    Visit m_visit;
    Refusal m_refused;
    JobControl* m_control;
};

} // namespace kiv
