#include "jobscreen/JobProgressDialog.h"

#include "jobs/JobControl.h"
#include "jobs/ProgressText.h"
#include "toolkit/RetroChoiceView.h"
#include "toolkit/RetroDialogWindow.h"
#include "toolkit/RetroPainting.h"
#include "toolkit/ShownText.h"
#include "toolkit/Theme.h"

namespace kiv {

namespace {

constexpr int progressDialogWidth = 520;
constexpr int barCells = 40;
constexpr int progressRefreshMilliseconds = 100;

enum ProgressChoice
{
    background,
    cancel,
};

QString text(const std::string& line)
{
    return QString::fromStdString(line);
}

// The share of the whole as " 45%" after a bar.
QString percentOf(std::int64_t done, std::int64_t total)
{
    const int percent = total > 0 ? int(done * 100 / total) : 0;
    return QStringLiteral(" %1%").arg(percent, 3);
}

} // namespace

JobProgressDialog::JobProgressDialog(const std::string& title, const std::string& description,
    std::shared_ptr<JobControl> control, QWidget* parent)
    : QDialog(parent ? parent->window() : nullptr, Qt::Dialog | Qt::FramelessWindowHint)
    , m_title(title)
    , m_description(description)
    , m_control(std::move(control))
{
    m_face = new RetroChoiceView(text(title),
        { { QStringLiteral("B Background"), Qt::Key_B }, { QStringLiteral("Esc Cancel"), Qt::Key_Escape } },
        progressDialogWidth, 8, this);
    m_face->onChoice = [this](int index) {
        if (index == background) {
            m_inBackground = true;
            hide();
        } else {
            reject();
        }
    };
    setWindowTitle(text(title));
    setFixedSize(m_face->size());
    setWindowModality(Qt::WindowModal);
    RetroPainting::setPaletteColor(*this, QPalette::Window, Theme::dialogBackground());
    connect(&m_timer, &QTimer::timeout, this, &JobProgressDialog::refresh);
    m_timer.start(progressRefreshMilliseconds);
    refresh();
}

void JobProgressDialog::present()
{
    if (QWidget* main = parentWidget()) {
        const QRect around = main->window()->frameGeometry();
        move(around.center() - QPoint(width() / 2, height() / 2));
    }
    m_inBackground = false;
    show();
    raise();
    activateWindow();
    m_face->setFocus();
}

void JobProgressDialog::refresh()
{
    const JobProgress progress = m_control->progress();
    if (progress.phase == JobProgress::Phase::working && !m_working.isValid())
        m_working.start();
    const double seconds = m_working.isValid() ? double(m_working.elapsed()) / 1000.0 : 0.0;
    const bool counting = progress.phase == JobProgress::Phase::counting;
    m_face->setLines({ ShownText::of(m_description), QString(),
        counting ? QString() : ShownText::of(progress.currentName),
        text(ProgressText::bar(progress.currentBytesDone, progress.currentBytesTotal, barCells))
            + percentOf(progress.currentBytesDone, progress.currentBytesTotal),
        text(ProgressText::bar(ProgressText::percent(progress), 100, barCells))
            + percentOf(ProgressText::percent(progress), 100),
        text(ProgressText::bytes(progress)) + QStringLiteral("    ") + text(ProgressText::items(progress)),
        text(ProgressText::pace(progress, seconds)) });
}

void JobProgressDialog::reject()
{
    // Asked from the event loop, not from inside the key press that led here.
    QMetaObject::invokeMethod(this, &JobProgressDialog::askToCancel, Qt::QueuedConnection);
}

void JobProgressDialog::askToCancel()
{
    if (m_asking || m_ended)
        return;
    m_control->pause();
    // A child of the main window, not of this dialog: whatever happens to this one, the question
    // is never deleted under its own modal run.
    RetroDialogWindow question(text(m_title), QStringLiteral("Cancel the %1?").arg(text(m_title).toLower()),
        RetroDialogStyle::confirm(), QStringLiteral("Stop"), ButtonTone::destructive, parentWidget());
    m_asking = &question;
    const bool stop = question.runModal(this) == RetroDialogResponse::ok;
    m_asking = nullptr;
    if (m_ended) {
        deleteLater();
        return;
    }
    if (stop)
        m_control->cancel();
    else
        m_control->resume();
}

void JobProgressDialog::jobEnded()
{
    m_ended = true;
    m_timer.stop();
    hide();
    if (m_asking) {
        // askToCancel() goes on once the question's modal run returns, and deletes this then.
        m_asking->finish(RetroDialogResponse::cancel);
        return;
    }
    deleteLater();
}

} // namespace kiv
