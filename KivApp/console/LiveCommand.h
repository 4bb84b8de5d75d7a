#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

namespace kiv {

class ConsoleLog;
class ConsoleOutputView;
class JobThread;
class ShellLineJob;

// One shell line running on a worker while a ConsoleOutputView shows its output: the output is
// handed to the view in slices small enough to keep the window answering, Ctrl+C in the view
// interrupts the command, and the view is finished once the command has ended.
class LiveCommand : public QObject
{
    Q_OBJECT
public:
    // Starts `line` in `directory` at once; its output goes to `view`, which it does not own.
    LiveCommand(const std::string& line, const std::string& directory, ConsoleOutputView& view,
        QObject* parent = nullptr);
    // Kills the command if it still runs and waits for its worker.
    ~LiveCommand() override;

    // Called once the command has ended and the view shows all of its output, if set.
    std::function<void()> onEnd;

private:
    void outputArrived();
    void showOutput();

    std::shared_ptr<ConsoleLog> m_log;
    std::shared_ptr<ShellLineJob> m_job;
    std::unique_ptr<JobThread> m_thread;
    QPointer<ConsoleOutputView> m_view;
    std::atomic<bool> m_showPending { false };
    std::atomic<bool> m_ended { false };
    bool m_finished = false;
};

} // namespace kiv
