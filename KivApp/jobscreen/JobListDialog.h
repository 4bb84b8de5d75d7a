#pragma once

#include "jobs/JobQueue.h"

#include <QDialog>
#include <QTimer>

namespace kiv {

class JobRunner;
class RetroChoiceView;

// "Commands -> Jobs...": the jobs running and waiting, one line each with its state and progress,
// refreshed while open. Up and Down move the cursor; Return brings the job's progress dialog to
// the front (closing the list); S starts a waiting job now when it clashes with no running one;
// Del cancels the job; Esc closes the list.
class JobListDialog : public QDialog
{
    Q_OBJECT
public:
    // Shows the list of `runner`'s jobs over `parent`'s window until the user closes it.
    static void show(QWidget* parent, JobRunner& runner);

    // Creates the hidden list.
    JobListDialog(JobRunner& runner, QWidget* parent);
    // Returns the dialog's face.
    RetroChoiceView* face() const { return m_face; }

private:
    void refresh();
    void choose(int index);
    void moveCursor(int step);
    std::optional<JobQueue::Id> cursorJob() const;

    JobRunner& m_runner;
    RetroChoiceView* m_face;
    std::vector<JobQueue::Entry> m_entries;
    int m_cursor = 0;
    QTimer m_timer;
};

} // namespace kiv
