#include "attributes/LinkJob.h"

#include "base/ErrorText.h"
#include "base/PathString.h"
#include "files/DiskItem.h"
#include "files/FileSystemService.h"
#include "jobs/JobControl.h"

namespace kiv {

LinkJob::LinkJob(std::string target, std::string link, LinkText::Form form)
    : m_target(std::move(target))
    , m_link(std::move(link))
    , m_form(form)
{
}

std::string LinkJob::title() const
{
    return "Link";
}

std::string LinkJob::description() const
{
    return "Link " + m_link + " to " + m_target;
}

JobFootprint LinkJob::footprint() const
{
    return { { m_target }, { m_link } };
}

JobOutcome LinkJob::run(JobControl& control)
{
    control.addToTotals(1, 0);
    control.startWorking();
    control.beginItem(m_link, 0);
    if (!DiskItem::exists(m_target))
        return { JobOutcome::End::failed, "No link was made: " + m_target + " is no longer there." };
    std::string text;
    try {
        text = LinkText::toward(m_target, PathString::parentOrRoot(m_link), m_form);
        FileSystemService().makeLink(text, m_link);
    } catch (const std::exception& error) {
        return { JobOutcome::End::failed, "No link was made: " + userMessage(error) };
    }
    try {
        m_record.addMade(text, m_link);
    } catch (const std::exception&) {
        // Gone again at once: nothing is left to undo.
    }
    control.finishItems(1, 0);
    return { JobOutcome::End::completed, "Made the link " + m_link };
}

OperationRecord LinkJob::takeRecord()
{
    return m_record.taken();
}

} // namespace kiv
