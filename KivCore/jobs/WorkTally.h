#pragma once

#include "jobs/JobOutcome.h"

#include <cstdint>
#include <string>

namespace kiv {

// What a job over many items did, for the line that ends it.
struct WorkTally
{
    static constexpr std::int64_t unknown = -1; // a total never counted

    std::int64_t done = 0;
    std::int64_t total = 0; // or unknown
    std::int64_t skipped = 0;
    std::int64_t sourcesKept = 0; // moved items copied whose original could not be removed
    bool cancelled = false;
    std::string lastFailure; // the text of the last failure, "" when none happened

    // Returns the outcome with its summary in `pastVerb`'s words: "Copied 3 items", or
    // "Copied 1,204 of 3,000 items; 2 skipped; cancelled" with the last failure after it ("Copied
    // 1,204 items; cancelled" when the total is unknown).
    JobOutcome outcome(const std::string& pastVerb) const;
};

} // namespace kiv
