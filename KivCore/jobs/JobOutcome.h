#pragma once

#include <string>

namespace kiv {

// How a job ended and what it says about it ("Copied 1,204 of 3,000 items; cancelled").
struct JobOutcome
{
    enum class End
    {
        completed, // everything was done
        incomplete, // it ran to its end, but the user skipped or the system refused something
        cancelled,
        failed, // it could not go on; the summary says why
    };

    End end = End::completed;
    std::string summary;
    // Ended short only by the user's own choices (items skipped for taken names, a cancel), with
    // nothing failing on the way: there is no failure to tell.
    bool byChoice = false;

    bool operator==(const JobOutcome&) const = default;
};

} // namespace kiv
