#pragma once

#include "jobs/JobQuestion.h"

#include <QDialog>

namespace kiv {

class RetroChoiceView;

// The question a job asks, as a modal retro dialog: for a taken name both items with size, date
// and time, and O Overwrite, A Overwrite all, S Skip, L Skip all, N Overwrite all older, K Keep
// both; for a failed item what failed, and R Retry, S Skip, L Skip all; for an unknown server its
// key's type and fingerprint, and T Trust. Esc cancels the job.
class JobQuestionDialog : public QDialog
{
    Q_OBJECT
public:
    // Asks `question` of the job titled `jobTitle` in a dialog centred on `parent`'s window;
    // returns the answer once the user gave one.
    static JobAnswer ask(QWidget* parent, const std::string& jobTitle, const JobQuestion& question);

    // Creates the hidden dialog for `question`.
    JobQuestionDialog(const std::string& jobTitle, const JobQuestion& question, QWidget* parent);
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
