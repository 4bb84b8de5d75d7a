#include "panel/ListingJob.h"

#include "jobs/JobCancelled.h"
#include "panel/RowOrder.h"

namespace kiv {

ListingJob::ListingJob(Request request, FileSystemService fs, ArchiveService archives)
    : m_request(std::move(request))
    , m_fs(std::move(fs))
    , m_archives(std::move(archives))
{
}

std::string ListingJob::title() const
{
    return "Read folder";
}

std::string ListingJob::description() const
{
    return "Read " + m_request.place.displayPath();
}

JobFootprint ListingJob::footprint() const
{
    const PanelLocation& place = m_request.place;
    return { { place.isArchive() ? place.archivePath() : place.path() }, {} };
}

JobOutcome ListingJob::run(JobControl& control)
{
    try {
        m_rows = list(control);
    } catch (const JobCancelled&) {
        throw;
    } catch (...) {
        m_refusal = std::current_exception();
        throw;
    }
    return { JobOutcome::End::completed, {} };
}

std::vector<FileEntry> ListingJob::list(JobControl& control)
{
    const PanelLocation& place = m_request.place;
    std::vector<FileEntry> rows;
    if (place.isFound()) {
        rows = m_fs.listItems(place.path(), place.foundNames());
    } else if (!place.isArchive()) {
        using Order = FileSystemService::ListingOrder;
        rows = m_fs.listDirectory(place.path(), m_request.hiddenFiles,
            m_request.sortOrder.key == SortOrder::Key::unsorted ? Order::asListed : Order::byName, &control);
    } else {
        m_members = m_request.knownMembers;
        if (!m_members)
            m_members = std::make_shared<const ArchiveTree>(
                m_archives.listRawEntries(place.archivePath(), &control));
        rows = m_members->children(place.internalPath(), ArchiveTree::ParentRow::include);
    }
    RowOrder::sort(rows, m_request.sortOrder);
    return rows;
}

} // namespace kiv
