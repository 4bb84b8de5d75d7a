#include "panel/ListingJob.h"

#include "jobs/JobCancelled.h"
#include "panel/RowOrder.h"

namespace kiv {

ListingJob::ListingJob(Request request)
    : m_request(std::move(request))
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
    using Order = Door::ListingOrder;
    const Order order = m_request.sortOrder.key == SortOrder::Key::unsorted ? Order::asListed : Order::byName;
    std::vector<FileEntry> rows = place.door()->list(place.folder(), m_request.hiddenFiles, order, &control);
    RowOrder::sort(rows, m_request.sortOrder);
    return rows;
}

} // namespace kiv
