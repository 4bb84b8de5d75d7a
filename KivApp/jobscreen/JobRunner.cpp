#include "jobscreen/JobRunner.h"

#include "jobs/Job.h"
#include "jobs/JobControl.h"
#include "jobs/ProgressText.h"
#include "jobscreen/JobProgressDialog.h"
#include "jobscreen/JobQuestionDialog.h"
#include "jobscreen/WorkerLink.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/ShownText.h"

#include <QElapsedTimer>
#include <QWidget>

namespace kiv {

namespace {

// Small operations end before this and look as they always did: no dialog flashes by.
constexpr qint64 dialogDelayMilliseconds = WorkerLink::quietMilliseconds;

} // namespace

struct JobRunner::Watch
{
    std::shared_ptr<JobControl> control;
    std::string title;
    std::string description;
    QElapsedTimer running; // started once the job is seen running
    QPointer<JobProgressDialog> dialog; // hidden while the job is in the background
    QPointer<JobQuestionDialog> question; // the question the job waits on, while it is open
    JobRunner::EndListener onEnd;
};

JobRunner::JobRunner(QWidget& dialogParent, QObject* parent)
    : QObject(parent)
    , m_dialogParent(dialogParent)
    , m_link(new WorkerLink(this))
    , m_queue(std::make_unique<JobQueue>(m_link->relay<>([this] { takeEnded(); })))
{
    m_link->onPulse = [this] { tick(); };
}

JobRunner::~JobRunner()
{
    // The queue goes first, while this object can still take what its workers post.
    m_queue->close(patienceAtQuit);
    m_queue.reset();
    for (auto& [id, watch] : m_watches)
        delete watch->dialog;
}

JobQueue::Id JobRunner::startBeside(std::shared_ptr<Job> job, EndListener onEnd)
{
    const JobQueue::Id id = start(std::move(job), std::move(onEnd));
    m_queue->startNow(id);
    return id;
}

JobQueue::Id JobRunner::start(std::shared_ptr<Job> job, EndListener onEnd)
{
    auto control = std::make_shared<JobControl>();
    // Weak: the control owns this listener, and a question may outlive the job it came from.
    std::weak_ptr<JobControl> asking = control;
    control->setQuestionListener(m_link->relay<>([this, asking] { askQuestion(asking); }));
    auto watch = std::make_unique<Watch>();
    watch->control = control;
    watch->title = job->title();
    watch->description = job->description();
    watch->onEnd = std::move(onEnd);
    const JobQueue::Id id = m_queue->add(std::move(job), std::move(control));
    m_watches[id] = std::move(watch);
    startClocks();
    if (!m_link->isPulsing())
        m_link->startPulse();
    if (onActivity)
        onActivity();
    return id;
}

// A job's time counts from when it is seen running: at its start, or once the one before it ended.
void JobRunner::startClocks()
{
    for (auto& [id, watch] : m_watches) {
        if (!watch->running.isValid() && m_queue->state(id) == JobQueue::State::running)
            watch->running.start();
    }
}

void JobRunner::tick()
{
    startClocks();
    for (auto& [id, watch] : m_watches) {
        // Not over a question: the question is what the user has to look at now.
        if (watch->running.isValid() && !watch->dialog && watch->running.elapsed() >= dialogDelayMilliseconds
            && !watch->control->pendingQuestion())
            bringToFront(id);
    }
    if (onActivity)
        onActivity();
}

void JobRunner::bringToFront(JobQueue::Id id)
{
    const auto found = m_watches.find(id);
    if (found == m_watches.end())
        return;
    Watch& watch = *found->second;
    if (!watch.dialog)
        watch.dialog = new JobProgressDialog(watch.title, watch.description, watch.control, &m_dialogParent);
    watch.dialog->present();
}

void JobRunner::takeEnded()
{
    for (const JobQueue::Ended& ended : m_queue->takeEnded()) {
        EndListener onEnd;
        bool unwatched = false;
        if (const auto found = m_watches.find(ended.id); found != m_watches.end()) {
            if (JobProgressDialog* dialog = found->second->dialog) {
                unwatched = dialog->inBackground();
                dialog->jobEnded();
            }
            if (JobQuestionDialog* question = found->second->question)
                question->reject();
            onEnd = std::move(found->second->onEnd);
            m_watches.erase(found);
        }
        // Once the user chose to quit, the ends of the jobs cancelled for it are no news.
        if (m_quitting)
            continue;
        if (onJobEnded)
            onJobEnded(ended, unwatched);
        if (onEnd)
            onEnd(ended.outcome);
    }
    startClocks();
    if (m_watches.empty())
        m_link->stopPulse();
    if (onActivity)
        onActivity();
}

void JobRunner::askQuestion(std::weak_ptr<JobControl> asking)
{
    const std::shared_ptr<JobControl> control = asking.lock();
    const std::optional<JobQuestion> question = control ? control->pendingQuestion() : std::nullopt;
    if (!question)
        return;
    Watch* asker = nullptr;
    for (const auto& [id, watch] : m_watches) {
        if (watch->control == control)
            asker = watch.get();
    }
    const std::string title = asker ? asker->title : std::string();
    if (question->kind == JobQuestion::Kind::secret) {
        askSecret(*control, title, *question);
        return;
    }
    // A child of the main window, never of the progress dialog, which goes when the job ends.
    JobQuestionDialog dialog(title, *question, &m_dialogParent);
    if (asker)
        asker->question = &dialog;
    // The watch may be gone once this returns (the job ended meanwhile); the control stays, and
    // an answer to a question no longer asked does nothing.
    control->answer(dialog.askModally());
}

void JobRunner::askSecret(JobControl& control, const std::string& title, const JobQuestion& question)
{
    const QString prompt = ShownText::of(question.source.path) + u'\n' + ShownText::of(question.message);
    const std::optional<QString> typed = question.echoesReply
        ? RetroDialogs::prompt(&m_dialogParent, QString::fromStdString(title), prompt, {})
        : RetroDialogs::secret(&m_dialogParent, QString::fromStdString(title), prompt);
    if (typed)
        control.answerText(typed->toStdString());
    else
        control.answer(JobAnswer::cancel);
}

bool JobRunner::confirmQuit()
{
    const std::size_t count = m_queue->entries().size();
    if (count == 0)
        return true;
    const QString question = count == 1
        ? QStringLiteral("A job is still running. Cancel it and quit?")
        : QStringLiteral("%1 jobs are still running or waiting. Cancel them and quit?").arg(count);
    if (!RetroDialogs::confirm(&m_dialogParent, QStringLiteral("Quit"), question, QStringLiteral("Quit"),
            ButtonTone::destructive))
        return false;
    m_quitting = true;
    m_queue->cancelAll();
    return true;
}

QString JobRunner::indicator() const
{
    const std::vector<JobQueue::Entry> entries = m_queue->entries();
    if (entries.empty())
        return {};
    const JobQueue::Entry& first = entries.front();
    QString text = QStringLiteral("%1 %2%")
                       .arg(QString::fromStdString(first.title))
                       .arg(ProgressText::percent(first.progress));
    if (entries.size() > 1)
        text += QStringLiteral(" +%1").arg(entries.size() - 1);
    return text;
}

} // namespace kiv
