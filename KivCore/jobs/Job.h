#pragma once

#include "jobs/JobFootprint.h"
#include "jobs/JobOutcome.h"

#include <string>

namespace kiv {

class JobControl;

// A piece of long work that runs on a worker thread: copying, moving, deleting, extracting, and
// whatever later work needs a thread of its own. It reports through the JobControl it is given,
// checks it for cancellation between steps and asks its questions through it.
class Job
{
public:
    virtual ~Job() = default;

    // The operation's name as a title: "Copy", "Move", "Delete", "Extract".
    virtual std::string title() const = 0;
    // One line on what it does: "Copy 3 items to /home/me/backup".
    virtual std::string description() const = 0;
    // What the job reads and changes.
    virtual JobFootprint footprint() const = 0;
    // Does the work on the calling thread. Cancellation ends it with End::cancelled; an exception
    // it lets through ends it as failed with the exception's text for the user.
    virtual JobOutcome run(JobControl& control) = 0;
};

} // namespace kiv
