#pragma once

#include "archives/ArchiveService.h"
#include "archives/ArchiveTree.h"
#include "base/FileEntry.h"
#include "files/FileSystemService.h"
#include "jobs/Job.h"
#include "panel/PanelLocation.h"
#include "panel/SortOrder.h"

#include <exception>
#include <memory>
#include <vector>

namespace kiv {

// Lists one place of a panel, a real folder, a folder inside an archive or the items a search found, in the
// panel's order: on whatever thread runs it, counting the items read and stopping when cancelled. PanelState
// makes it and takes its rows back once it has run.
class ListingJob : public Job
{
public:
    // An archive's folder tree, read once and then shared by the panel and its later listings.
    using ArchiveMembers = std::shared_ptr<const ArchiveTree>;

    // What to list and how.
    struct Request
    {
        PanelLocation place;
        FileSystemService::HiddenFiles hiddenFiles = FileSystemService::HiddenFiles::hide;
        SortOrder sortOrder;
        ArchiveMembers knownMembers; // the place's archive as read before, or null to read it
    };

    // Lists nothing until run().
    ListingJob(Request request, FileSystemService fs, ArchiveService archives);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    // Lists the place. What refuses it (a missing folder, a damaged archive) is kept for
    // refusal() and passed on, so the job fails with its text.
    JobOutcome run(JobControl& control) override;

    // The place listed.
    const PanelLocation& place() const { return m_request.place; }
    // Moves the rows out, in display order. REQUIRES: run() completed.
    std::vector<FileEntry> takeRows() { return std::move(m_rows); }
    // The folder tree of the place's archive; null for any other place.
    const ArchiveMembers& archiveMembers() const { return m_members; }
    // What refused the listing, to be rethrown where its message is shown; null when nothing did.
    std::exception_ptr refusal() const { return m_refusal; }

private:
    std::vector<FileEntry> list(JobControl& control);

    Request m_request;
    FileSystemService m_fs;
    ArchiveService m_archives;
    std::vector<FileEntry> m_rows;
    ArchiveMembers m_members;
    std::exception_ptr m_refusal;
};

} // namespace kiv
