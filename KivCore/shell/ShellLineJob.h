#pragma once

#include "jobs/Job.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kiv {

class ConsoleLog;

// One line of the command line or the user menu run in the user's shell as a job, its two
// streams going into a ConsoleLog as they arrive. Ctrl+C reaches it through interrupt().
class ShellLineJob : public Job
{
public:
    // Called on the job's thread each time new output went into the log.
    using OutputListener = std::function<void()>;

    // Runs `line` in `directory`, writing to `log`; `onOutput` may be empty.
    ShellLineJob(
        std::string line, std::string directory, std::shared_ptr<ConsoleLog> log, OutputListener onOutput);

    // "Shell".
    std::string title() const override;
    // The line as typed.
    std::string description() const override;
    // Nothing: what a shell line touches cannot be known.
    JobFootprint footprint() const override;
    // Runs the line until it ends, in a process group of its own with nothing on its standard
    // input; a failed start goes into the log's error stream. Cancelling the job kills the group.
    JobOutcome run(JobControl& control) override;

    // Asks the command to stop: the first call interrupts its process group (SIGINT), later calls
    // kill it (SIGKILL). Safe from any thread, also before run() begins.
    void interrupt();
    // Returns the exit code once run() has returned (the signal number when a signal ended it, -1
    // when it never started).
    std::int32_t exitCode() const { return m_exitCode.load(); }

private:
    int nextSignal(const JobControl& control);

    const std::string m_line;
    const std::string m_directory;
    const std::shared_ptr<ConsoleLog> m_log;
    const OutputListener m_onOutput;
    std::atomic<int> m_interrupts { 0 };
    int m_signalsSent = 0; // the job's thread alone uses it
    std::atomic<std::int32_t> m_exitCode { -1 };
};

} // namespace kiv
