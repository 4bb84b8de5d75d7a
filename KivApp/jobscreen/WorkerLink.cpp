#include "jobscreen/WorkerLink.h"

#include <mutex>

namespace kiv {

// What posters share with the link: the link itself while it lives, under a lock that its
// destructor takes to close the gate, so no call is queued to a link half destroyed.
struct WorkerLink::Gate
{
    std::mutex mutex;
    WorkerLink* link;
};

WorkerLink::WorkerLink(QObject* parent)
    : QObject(parent)
    , m_gate(std::make_shared<Gate>())
{
    m_gate->link = this;
    connect(&m_pulse, &QTimer::timeout, this, &WorkerLink::tick);
}

WorkerLink::~WorkerLink()
{
    std::lock_guard lock(m_gate->mutex);
    m_gate->link = nullptr;
    // Calls queued before this are dropped with the object's posted events.
}

void WorkerLink::post(std::function<void()> call) const
{
    post(m_gate, std::move(call));
}

void WorkerLink::post(const std::shared_ptr<Gate>& gate, std::function<void()> call)
{
    std::lock_guard lock(gate->mutex);
    if (gate->link)
        QMetaObject::invokeMethod(gate->link, std::move(call), Qt::QueuedConnection);
}

void WorkerLink::startPulse()
{
    m_started.start();
    m_pulse.start(quietMilliseconds);
}

void WorkerLink::stopPulse()
{
    m_pulse.stop();
}

void WorkerLink::tick()
{
    m_pulse.setInterval(pulseMilliseconds);
    if (onPulse)
        onPulse();
}

} // namespace kiv
