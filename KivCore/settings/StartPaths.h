#pragma once

#include <string>
#include <vector>

namespace kiv {

// The paths given to the program when it starts, one for each panel from the left, and the
// folder they were given in. Nothing is looked at on the disk yet (StartPlaceJob does that).
struct StartPaths
{
    std::vector<std::string> typed; // as the shell passed them
    std::string workingFolder; // absolute; what a relative path is taken from

    // The `typed` paths, given in the process's working folder, or in "/" when that folder is gone.
    static StartPaths ofArguments(std::vector<std::string> typed);

    bool operator==(const StartPaths&) const = default;
};

} // namespace kiv
