#include "console/LiveCommand.h"

#include "console/ConsoleOutputView.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"
#include "shell/ConsoleLog.h"
#include "shell/ShellLineJob.h"

#include <QTimer>

namespace kiv {

namespace {

// The most lines shown in one turn of the event loop: enough to follow any command, few enough
// that the window answers keys in between while a flood is shown. Output that comes faster than
// it can be shown is dropped by the log before it is shown at all.
constexpr std::size_t slicePieces = 1'000;

} // namespace

LiveCommand::LiveCommand(
    const std::string& line, const std::string& directory, ConsoleOutputView& view, QObject* parent)
    : QObject(parent)
    , m_log(std::make_shared<ConsoleLog>())
    , m_view(&view)
{
    m_job = std::make_shared<ShellLineJob>(line, directory, m_log, [this] { outputArrived(); });
    view.onInterrupt = [job = m_job] { job->interrupt(); };
    m_thread = std::make_unique<JobThread>(m_job, std::make_shared<JobControl>(), [this](const JobOutcome&) {
        m_ended = true;
        outputArrived();
    });
}

LiveCommand::~LiveCommand()
{
    // The worker calls back into this object: it must be gone before the members are.
    m_thread.reset();
}

void LiveCommand::outputArrived()
{
    // One queued call at a time, however fast the command writes.
    if (!m_showPending.exchange(true))
        QMetaObject::invokeMethod(this, &LiveCommand::showOutput, Qt::QueuedConnection);
}

void LiveCommand::showOutput()
{
    m_showPending = false;
    if (!m_view || m_finished)
        return;
    // Read before taking, so output that came just before the end is not left behind.
    const bool ended = m_ended;
    m_view->showOutput(m_log->take(slicePieces));
    if (m_log->hasUntaken() || m_view->isCatchingUp()) {
        outputArrived();
        return;
    }
    if (ended) {
        m_finished = true;
        m_view->finish(m_job->exitCode());
        if (onEnd)
            onEnd();
    }
}

} // namespace kiv
