#pragma once

#include <cstdint>
#include <string>

namespace kiv {

// What a job has done so far, as the screen shows it. Totals are known once counting ends;
// a total of 0 while working means the job cannot tell in advance.
struct JobProgress
{
    enum class Phase
    {
        counting, // finding out how much there is to do
        working,
        finished,
    };

    Phase phase = Phase::counting;
    std::int64_t itemsTotal = 0;
    std::int64_t itemsDone = 0;
    std::int64_t bytesTotal = 0;
    std::int64_t bytesDone = 0;
    std::string currentName; // the item being worked on, as a path
    std::int64_t currentBytesTotal = 0;
    std::int64_t currentBytesDone = 0;

    bool operator==(const JobProgress&) const = default;
};

} // namespace kiv
