#pragma once

#include <string>
#include <vector>

namespace kiv {

// The paths a job reads and the paths it may change (each with everything below it), so that two
// jobs that could trip over each other never run at the same time, and so the screen knows which
// folders to list again once the job ends.
struct JobFootprint
{
    std::vector<std::string> reads;
    std::vector<std::string> writes;

    // Returns whether one of the two jobs may change what the other reads or changes.
    bool clashesWith(const JobFootprint& other) const;
    // Returns whether a listing of the folder `path` may look different after the job: the job
    // changes something in it or below it, or the folder itself.
    bool touchesFolder(const std::string& path) const;

    bool operator==(const JobFootprint&) const = default;
};

} // namespace kiv
