#include "console/TerminalRenderer.h"

#include "console/TerminalPainter.h"
#include "terminal/TerminalSession.h"

#include <QThread>
#include <cmath>

namespace kiv {

TerminalRenderer::TerminalRenderer(std::shared_ptr<const TerminalSession> session, std::function<void()> frameReady)
    : m_session(std::move(session))
    , m_frameReady(std::move(frameReady))
    , m_thread(QThread::create([this] { run(); }))
{
    m_thread->start();
}

TerminalRenderer::~TerminalRenderer()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread->wait();
}

void TerminalRenderer::request(const Request& request)
{
    {
        std::lock_guard lock(m_mutex);
        m_request = request;
        m_asked = true;
    }
    m_wake.notify_one();
}

bool TerminalRenderer::takeFrame(Frame& frame)
{
    std::lock_guard lock(m_mutex);
    if (!m_fresh)
        return false;
    std::swap(frame, m_finished);
    m_fresh = false;
    return true;
}

void TerminalRenderer::run()
{
    // Made here: fonts belong to the thread that draws with them.
    const TerminalPainter painter;
    Request request;
    Frame frame; // drawn on, its storage reused from frame to frame where the size allows
    while (waitForRequest(request)) {
        const QSize pixels(int(std::ceil(request.size.width() * request.pixelRatio)),
            int(std::ceil(request.size.height() * request.pixelRatio)));
        if (frame.image.size() != pixels || frame.image.devicePixelRatio() != request.pixelRatio) {
            frame.image = QImage(pixels, QImage::Format_RGB32);
            frame.image.setDevicePixelRatio(request.pixelRatio);
        }
        m_session->copyView(request.linesBack, request.placedAt, frame.snapshot);
        painter.paint(frame.snapshot, frame.image);
        frame.number = request.number;
        {
            std::lock_guard lock(m_mutex);
            std::swap(frame, m_finished);
            m_fresh = true;
        }
        m_frameReady();
    }
}

bool TerminalRenderer::waitForRequest(Request& request)
{
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_asked || m_stopping; });
    if (m_stopping)
        return false;
    request = m_request;
    m_asked = false;
    return true;
}

} // namespace kiv
