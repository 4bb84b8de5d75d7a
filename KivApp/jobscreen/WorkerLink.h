#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace kiv {

// The way back from worker threads to the UI thread, written once. A call posted from any thread
// runs on the UI thread while the link lives and is dropped once it is gone, so a worker that
// outlives what it reports to (one stuck on a dead mount, abandoned at quit) never reaches into
// freed objects. And a pulse for progress: once started it first ticks about 0.3 s later, then
// ten times a second until stopped, so work that ends within a blink shows nothing of itself.
class WorkerLink : public QObject
{
    Q_OBJECT
public:
    // How long work runs before the pulse first ticks, and how often it ticks after that.
    static constexpr int quietMilliseconds = 300;
    static constexpr int pulseMilliseconds = 100;

    // Posts nothing and pulses not until asked.
    explicit WorkerLink(QObject* parent = nullptr);
    // Drops every call still to come; a worker posting at this moment waits for the drop.
    ~WorkerLink() override;

    // Queues `call` to run on the UI thread, unless the link is gone by then. Any thread.
    void post(std::function<void()> call) const;
    // Returns a function any thread may call, any number of times, to post `call` with the
    // arguments it was given (copied); it may outlive the link.
    // Name the arguments: relay<const JobOutcome&>(...), relay<>(...) for none.
    template <typename... Args>
    std::function<void(Args...)> relay(std::type_identity_t<std::function<void(Args...)>> call) const
    {
        return [gate = m_gate, call = std::move(call)](Args... arguments) {
            post(gate, [call, arguments...] { call(arguments...); });
        };
    }

    // Starts the pulse anew: its first tick comes quietMilliseconds from now.
    void startPulse();
    // Stops the pulse.
    void stopPulse();
    // Returns whether the pulse runs.
    bool isPulsing() const { return m_pulse.isActive(); }
    // Returns the milliseconds since startPulse(), or 0 when the pulse does not run.
    qint64 pulsingFor() const { return isPulsing() ? m_started.elapsed() : 0; }

    // Called at every tick of the pulse; may be unset.
    std::function<void()> onPulse;

private:
    struct Gate;

    static void post(const std::shared_ptr<Gate>& gate, std::function<void()> call);
    void tick();

    std::shared_ptr<Gate> m_gate;
    QTimer m_pulse;
    QElapsedTimer m_started;
};

} // namespace kiv
