#pragma once

#include "files/FileLoadJob.h"
#include "jobs/Job.h"

#include <QFont>
#include <QTextDocument>

#include <memory>

class QThread;

namespace kiv {

// Reads a file for a viewer window (FileLoadJob) and builds the document its text is shown in
// (ViewerTextDocument), both as one job: for a long text the building takes as long as the
// reading, and neither holds up the window.
class ViewerLoadJob : public Job
{
public:
    // Reads the file at `path` behind `door` in `form`; the document is handed over to the thread
    // that makes the job (the window's).
    ViewerLoadJob(std::shared_ptr<const Door> door, std::string path, PreviewText::Form form = PreviewText::Form::judged);
    // A document nobody took is deleted on the window's thread, where it lives.
    ~ViewerLoadJob() override;

    std::string title() const override { return m_load.title(); }
    std::string description() const override { return m_load.description(); }
    JobFootprint footprint() const override { return m_load.footprint(); }
    JobOutcome run(JobControl& control) override;

    // Returns what was read, once completed.
    const FileLoadJob& loaded() const { return m_load; }
    // Returns the document of the text read, once completed (empty for a dump or a file that
    // could not be read), living on the window's thread; null after the first call.
    std::unique_ptr<QTextDocument> takeDocument() { return std::move(m_document); }

private:
    FileLoadJob m_load;
    QFont m_font;
    QThread* m_window;
    std::unique_ptr<QTextDocument> m_document;
};

} // namespace kiv
