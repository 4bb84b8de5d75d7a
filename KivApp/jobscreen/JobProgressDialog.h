#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <memory>

namespace kiv {

class JobControl;
class RetroChoiceView;
class RetroDialogWindow;

// The progress of one running job in the house style: its title, what it does, the current name,
// a text-mode bar for the current file and one for the whole job, "1.2 GB of 3.4 GB", "1,204 of
// 3,000 items", the speed and the time left, read from the job's control ten times a second.
// Esc or [ Cancel ] asks "Cancel the copy?", holding the job still meanwhile, and cancels it on
// yes; B or [ Background ] hides the dialog while the job goes on. It keeps the main window's keys
// while shown.
class JobProgressDialog : public QDialog
{
    Q_OBJECT
public:
    // Creates the hidden dialog for the job titled `title` doing `description`, over `parent`'s window.
    JobProgressDialog(const std::string& title, const std::string& description,
        std::shared_ptr<JobControl> control, QWidget* parent);

    // Shows the dialog centred on the main window.
    void present();
    // Returns the dialog's face.
    RetroChoiceView* face() const { return m_face; }

    // Esc or a close from the window system asks whether to cancel the job.
    void reject() override;
    // Returns whether the user sent the job to the background and has not brought it back.
    bool inBackground() const { return m_inBackground; }
    // Called once the job has ended: closes the question whether to cancel it, if open, and
    // deletes the dialog once nothing of it runs any more.
    void jobEnded();

private:
    void refresh();
    void askToCancel();

    std::string m_title;
    std::string m_description;
    std::shared_ptr<JobControl> m_control;
    RetroChoiceView* m_face;
    QTimer m_timer;
    QElapsedTimer m_working;
    QPointer<RetroDialogWindow> m_asking; // "Cancel the copy?" while it is open
    bool m_ended = false;
    bool m_inBackground = false;
};

} // namespace kiv
