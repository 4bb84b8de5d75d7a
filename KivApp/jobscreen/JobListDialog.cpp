#include "jobscreen/JobListDialog.h"

#include "jobs/ProgressText.h"
#include "jobscreen/JobRunner.h"
#include "toolkit/RetroChoiceView.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/RetroPainting.h"
#include "toolkit/ShownText.h"
#include "toolkit/Theme.h"

#include <QKeyEvent>

namespace kiv {

namespace {

constexpr int jobListWidth = 600;
constexpr int shownLines = 10;
constexpr int listRefreshMilliseconds = 200;

enum ListChoice
{
    showJob,
    startJob,
    cancelJob,
};

// "running  45%  Copy 3 items to /backup" or "waiting       Move a.txt to /tmp".
QString lineOf(const JobQueue::Entry& entry)
{
    const bool running = entry.state == JobQueue::State::running;
    const QString share = running ? QStringLiteral("%1%").arg(ProgressText::percent(entry.progress), 3)
                                  : QStringLiteral("    ");
    return (running ? QStringLiteral("running ") : QStringLiteral("waiting ")) + share + QStringLiteral("  ")
        + ShownText::of(entry.description);
}

} // namespace

void JobListDialog::show(QWidget* parent, JobRunner& runner)
{
    JobListDialog dialog(runner, parent);
    if (parent) {
        const QRect around = parent->window()->frameGeometry();
        dialog.move(around.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
    }
    dialog.exec();
}

JobListDialog::JobListDialog(JobRunner& runner, QWidget* parent)
    : QDialog(parent ? parent->window() : nullptr, Qt::Dialog | Qt::FramelessWindowHint)
    , m_runner(runner)
{
    m_face = new RetroChoiceView(QStringLiteral("Jobs"),
        { { QStringLiteral("Return Show"), Qt::Key_Return }, { QStringLiteral("S Start now"), Qt::Key_S },
            { QStringLiteral("Del Cancel job"), Qt::Key_Delete },
            { QStringLiteral("Esc Close"), Qt::Key_Escape } },
        jobListWidth, shownLines, this);
    m_face->onChoice = [this](int index) { choose(index); };
    m_face->onOtherKey = [this](QKeyEvent* event) {
        if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
            moveCursor(event->key() == Qt::Key_Up ? -1 : 1);
    };
    setWindowTitle(QStringLiteral("Jobs"));
    setFixedSize(m_face->size());
    setModal(true);
    RetroPainting::setPaletteColor(*this, QPalette::Window, Theme::dialogBackground());
    connect(&m_timer, &QTimer::timeout, this, &JobListDialog::refresh);
    m_timer.start(listRefreshMilliseconds);
    refresh();
    m_face->setFocus();
}

void JobListDialog::refresh()
{
    m_entries = m_runner.queue().entries();
    m_cursor = std::clamp(m_cursor, 0, std::max(0, int(m_entries.size()) - 1));
    QStringList lines;
    for (const JobQueue::Entry& entry : m_entries)
        lines << lineOf(entry);
    if (lines.isEmpty())
        lines << QStringLiteral("No job is running.");
    m_face->setLines(lines, m_entries.empty() ? -1 : m_cursor);
}

void JobListDialog::moveCursor(int step)
{
    m_cursor += step;
    refresh();
}

std::optional<JobQueue::Id> JobListDialog::cursorJob() const
{
    if (m_entries.empty())
        return std::nullopt;
    return m_entries[std::size_t(m_cursor)].id;
}

void JobListDialog::choose(int index)
{
    const std::optional<JobQueue::Id> job = cursorJob();
    switch (index) {
    case showJob:
        if (job && m_runner.queue().state(*job) == JobQueue::State::running) {
            accept();
            m_runner.bringToFront(*job);
        }
        break;
    case startJob:
        if (job && m_runner.queue().state(*job) == JobQueue::State::waiting
            && !m_runner.queue().startNow(*job))
            RetroDialogs::message(this, QStringLiteral("Jobs"),
                QStringLiteral(
                    "This job touches what a running job works on; it starts when that one ends."));
        break;
    case cancelJob:
        if (job)
            m_runner.queue().cancel(*job);
        break;
    default:
        reject();
        return;
    }
    refresh();
}

} // namespace kiv
