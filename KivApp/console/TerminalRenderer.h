#pragma once

#include "terminal/TerminalSnapshot.h"

#include <QImage>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

class QThread;

namespace kiv {

class TerminalSession;

// Copies a terminal's view and draws it (TerminalPainter) on a thread of its own, so that the
// window's thread neither waits for the terminal nor draws while a program floods it: it only
// shows finished pictures. Only the newest frame asked for is drawn.
class TerminalRenderer
{
public:
    // What to draw: the view `linesBack` lines up, placed there when the scrollback had pushed()
    // == `placedAt` (TerminalSession::copyView), on an image of `size` device-independent pixels
    // at `pixelRatio`; `number` tells the frame apart.
    struct Request
    {
        std::size_t linesBack = 0;
        std::int64_t placedAt = 0;
        QSize size;
        qreal pixelRatio = 1;
        std::uint64_t number = 0;
    };
    // A finished frame: the view copied, the picture of it and the request's number.
    struct Frame
    {
        TerminalSnapshot snapshot;
        QImage image;
        std::uint64_t number = 0;
    };

    // Starts the thread, which draws `session`; `frameReady` is called on it each time a frame
    // is finished.
    TerminalRenderer(std::shared_ptr<const TerminalSession> session, std::function<void()> frameReady);
    TerminalRenderer(const TerminalRenderer&) = delete;
    TerminalRenderer& operator=(const TerminalRenderer&) = delete;
    // Waits for the frame being drawn, if any, and ends the thread.
    ~TerminalRenderer();

    // Asks for a frame; it replaces one asked for before and not yet begun.
    void request(const Request& request);
    // Swaps the newest finished frame into `frame` and returns true, or returns false when no
    // frame was finished since the last call.
    bool takeFrame(Frame& frame);

private:
    void run();
    bool waitForRequest(Request& request);

    const std::shared_ptr<const TerminalSession> m_session;
    const std::function<void()> m_frameReady;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    Request m_request;
    bool m_asked = false; // m_request waits to be drawn
    Frame m_finished;
    bool m_fresh = false; // m_finished was not taken yet
    bool m_stopping = false;
    std::unique_ptr<QThread> m_thread;
};

} // namespace kiv
