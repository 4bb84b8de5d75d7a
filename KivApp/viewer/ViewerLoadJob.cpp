#include "viewer/ViewerLoadJob.h"

#include "jobs/JobControl.h"
#include "viewer/ViewerTextDocument.h"

#include <QThread>

namespace kiv {

ViewerLoadJob::ViewerLoadJob(std::shared_ptr<const Door> door, std::string path, PreviewText::Form form)
    : m_load(std::move(door), std::move(path), FileLoadJob::Purpose::viewing, form)
    , m_font(ViewerTextDocument::font())
    , m_window(QThread::currentThread())
{
}

ViewerLoadJob::~ViewerLoadJob()
{
    if (m_document)
        m_document.release()->deleteLater();
}

JobOutcome ViewerLoadJob::run(JobControl& control)
{
    const JobOutcome outcome = m_load.run(control);
    if (outcome.end != JobOutcome::End::completed)
        return outcome;
    const PreviewText::Preview& preview = m_load.preview();
    auto document = ViewerTextDocument::build(
        preview.kind == PreviewText::Preview::Kind::text ? std::string_view(preview.content) : std::string_view(),
        m_font);
    control.throwIfCancelled();
    // Only the thread it lives on may hand it on.
    document->moveToThread(m_window);
    m_document = std::move(document);
    return outcome;
}

} // namespace kiv
