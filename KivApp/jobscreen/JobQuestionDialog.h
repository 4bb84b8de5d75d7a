#pragma once

#include "jobs/JobQuestion.h"

#include <QDialog>

namespace kiv {

class RetroChoiceView;

// The question a job asks, as a modal retro dialog: for a taken name both items with size, date
// and time, and O Overwrite, A Overwrite all, S Skip, L Skip all, N Overwrite all older, K Keep
// both; where a file and a folder meet, which kinds they are, and R Replace (the old item to the
// trash first), S Skip, K Keep both; for a failed item what failed, and R Retry, S Skip, L Skip
// all; for an unknown server its key's type and fingerprint, and T Trust; for a file changed since
// it was read both sizes and times, and O Overwrite. Esc cancels the job.
class JobQuestionDialog : public QDialog
{
    Q_OBJECT
public:
    // Creates the hidden dialog for `question` of the job titled `jobTitle`, over `parent`'s window.
    JobQuestionDialog(const std::string& jobTitle, const JobQuestion& question, QWidget* parent);

    // Shows the dialog centred on its parent's window and returns the answer once the user gave
    // one, or `cancel` when it was closed otherwise (reject()).
    JobAnswer askModally();
    // Returns the dialog's face.
    RetroChoiceView* face() const { return m_face; }

    // Treats any other way of closing as Cancel.
    void reject() override;

private:
    RetroChoiceView* m_face;
    std::vector<JobAnswer> m_answers;
    JobAnswer m_answer = JobAnswer::cancel;
};

} // namespace kiv
