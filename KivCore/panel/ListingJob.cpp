#include "panel/ListingJob.h"

#include "base/KivError.h"
#include "base/PathString.h"
#include "jobs/JobCancelled.h"
#include "panel/RowOrder.h"

namespace kiv {

ListingJob::ListingJob(Request request)
    : m_request(std::move(request))
    , m_listed(m_request.place)
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
    const PanelLocation& asked = m_request.place;
    if (m_request.ifGone == IfGone::nearestFolder && !asked.isArchive() && !asked.isFound())
        m_listed = standingPlace();
    const PanelLocation& place = m_listed;
    using Order = Door::ListingOrder;
    const Order order = m_request.sortOrder.key == SortOrder::Key::unsorted ? Order::asListed : Order::byName;
    std::vector<FileEntry> rows = place.door()->list(place.folder(), m_request.hiddenFiles, order, &control);
    RowOrder::sort(rows, m_request.sortOrder);
    return rows;
}

// Asked here, on the job's thread: the question can hang as long as the listing can.
PanelLocation ListingJob::standingPlace() const
{
    const Door& door = *m_request.place.door();
    std::string folder = m_request.place.folder();
    const auto standing = [&] {
        try {
            const auto info = door.info(folder, Door::Link::followed);
            return info && info->type == ItemInfo::Type::folder;
        } catch (const std::exception&) {
            return false; // a folder that cannot be examined is no place to stand either
        }
    };
    while (folder != "/" && !standing())
        folder = PathString::parentOrRoot(folder);
    return { m_request.place.door(), folder };
}

bool ListingJob::refusedAsNoFolder() const
{
    if (!m_refusal)
        return false;
    try {
        std::rethrow_exception(m_refusal);
    } catch (const KivError& error) {
        return error.errorCase() == KivError::Case::notADirectory;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace kiv
