#include "history/RecordedJob.h"

#include "files/TransferReport.h"

namespace kiv {

RecordedJob::RecordedJob(std::shared_ptr<Job> work, const TransferReport& report, OperationRecord::Kind kind,
    std::shared_ptr<const Door> place)
    : m_work(std::move(work))
    , m_report(report)
    , m_record { kind, {}, std::move(place) }
{
}

std::string RecordedJob::title() const
{
    return m_work->title();
}

std::string RecordedJob::description() const
{
    return m_work->description();
}

JobFootprint RecordedJob::footprint() const
{
    return m_work->footprint();
}

JobOutcome RecordedJob::run(JobControl& control)
{
    JobOutcome outcome;
    try {
        outcome = m_work->run(control);
    } catch (...) {
        record(); // what it did before it stopped
        throw;
    }
    record();
    return outcome;
}

void RecordedJob::record()
{
    for (const TransferReport::Item& item : m_report.items()) {
        try {
            if (item.to.empty())
                m_record.addEmptied(item.from);
            else if (m_record.kind == OperationRecord::Kind::move
                || m_record.kind == OperationRecord::Kind::rename)
                m_record.addMoved(item.from, item.to, item.replaced);
            else
                m_record.addMade(item.from, item.to, item.replaced);
        } catch (const std::exception&) {
            // Gone already, like an item that failed half way and removed itself: nothing to undo.
            // What it replaced stays in the trash, where the user finds it.
        }
    }
}

OperationRecord RecordedJob::takeRecord()
{
    return m_record.taken();
}

} // namespace kiv
