#include "shell/ShellLineJob.h"

#include "jobs/JobControl.h"
#include "shell/ConsoleLog.h"
#include "shell/ShellRunner.h"

#include <csignal>
#include <utility>

namespace kiv {

ShellLineJob::ShellLineJob(
    std::string line, std::string directory, std::shared_ptr<ConsoleLog> log, OutputListener onOutput)
    : m_line(std::move(line))
    , m_directory(std::move(directory))
    , m_log(std::move(log))
    , m_onOutput(std::move(onOutput))
{
}

std::string ShellLineJob::title() const
{
    return "Shell";
}

std::string ShellLineJob::description() const
{
    return m_line;
}

JobFootprint ShellLineJob::footprint() const
{
    return {};
}

JobOutcome ShellLineJob::run(JobControl& control)
{
    const auto sinkFor = [this](ConsoleLog::Stream stream) {
        return [this, stream](std::string_view bytes) {
            m_log->append(stream, bytes);
            if (m_onOutput)
                m_onOutput();
        };
    };
    const ShellRunner::Result result
        = ShellRunner::runShellLineLive(m_line, m_directory, sinkFor(ConsoleLog::Stream::output),
            sinkFor(ConsoleLog::Stream::error), [this, &control] { return nextSignal(control); });
    // Only a failed start leaves text in the result: why it failed.
    m_log->append(ConsoleLog::Stream::error, result.stderr);
    m_log->flush();
    m_exitCode = result.exitCode;
    if (m_onOutput)
        m_onOutput();
    if (control.isCancelled())
        return { JobOutcome::End::cancelled, m_line };
    return { result.exitCode == 0 ? JobOutcome::End::completed : JobOutcome::End::failed, m_line };
}

void ShellLineJob::interrupt()
{
    ++m_interrupts;
}

int ShellLineJob::nextSignal(const JobControl& control)
{
    // The job's own end, when the window closes, kills at once: nobody is left to read.
    const int wanted = control.isCancelled() ? 2 : m_interrupts.load();
    if (wanted <= m_signalsSent)
        return 0;
    m_signalsSent = wanted;
    return wanted == 1 ? SIGINT : SIGKILL;
}

} // namespace kiv
