#pragma once

#include "base/FileEntry.h"
#include "doors/Door.h"
#include "jobs/Job.h"
#include "panel/PanelLocation.h"
#include "panel/SortOrder.h"

#include <exception>
#include <memory>
#include <vector>

namespace kiv {

// Lists one place of a panel through its door (a real folder, a folder inside an archive, the
// items a search found) in the panel's order: on whatever thread runs it, counting the items read
// and stopping when cancelled. PanelState makes it and takes its rows back once it has run.
class ListingJob : public Job
{
public:
    // What a listing does when its folder is gone.
    enum class IfGone
    {
        refuse,
        nearestFolder, // lists the nearest real folder above it that is still there ("/" at the last)
    };
    // What to list and how.
    struct Request
    {
        PanelLocation place;
        Door::HiddenFiles hiddenFiles = Door::HiddenFiles::hide;
        SortOrder sortOrder;
        IfGone ifGone = IfGone::refuse;
    };

    // Lists nothing until run().
    explicit ListingJob(Request request);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    // Lists the place. What refuses it (a missing folder, a damaged archive) is kept for
    // refusal() and passed on, so the job fails with its text.
    JobOutcome run(JobControl& control) override;

    // The place asked for.
    const PanelLocation& place() const { return m_request.place; }
    // The place listed: the one asked for, or the folder that stood in for it when it was gone.
    // REQUIRES: run() completed.
    const PanelLocation& listed() const { return m_listed; }
    // Moves the rows out, in display order. REQUIRES: run() completed.
    std::vector<FileEntry> takeRows() { return std::move(m_rows); }
    // What refused the listing, to be rethrown where its message is shown; null when nothing did.
    std::exception_ptr refusal() const { return m_refusal; }
    // Returns whether the listing was refused because the place is no folder (a file is there).
    bool refusedAsNoFolder() const;

private:
    std::vector<FileEntry> list(JobControl& control);
    PanelLocation standingPlace() const;

    Request m_request;
    PanelLocation m_listed;
    std::vector<FileEntry> m_rows;
    std::exception_ptr m_refusal;
};

} // namespace kiv
