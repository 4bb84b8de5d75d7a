#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kiv {

class JobThread;
class RetroLabel;
class TerminalSession;
class TerminalView;
class WorkerLink;

// Covers the window with one command running on a terminal of its own: a bar that says what is
// going on, and the terminal (TerminalView) under it, as big as the rest. Shift+PageUp and
// Shift+PageDown always move through the scrollback. While the command runs every other key goes
// to it but Ctrl+O, which asks to show the panels (onHide) and leaves it running; once it has
// ended (onEnd) any other key or a click asks to go back to the panels (onDismiss). The owner
// hides the view then; shown again, it has kept the command's screen and scrollback.
class ConsoleView : public QWidget
{
    Q_OBJECT
public:
    // An empty console; the caller sets the geometry, then calls start().
    explicit ConsoleView(QWidget* parent = nullptr);
    // Kills the command if it still runs and waits for it.
    ~ConsoleView() override;

    // Runs `line` in `folder` on a terminal as big as the view has room for. Call once.
    void start(const std::string& line, const std::string& folder);
    // Returns the session the command runs in. REQUIRES: start() was called.
    const TerminalSession& session() const { return *m_session; }
    // Returns whether the command was started and has not ended yet.
    bool isRunning() const { return m_session && !m_ended; }

    // Called once the command has ended and its end is shown, if set.
    std::function<void()> onEnd;
    // Called on Ctrl+O while the command runs, if set.
    std::function<void()> onHide;
    // Called on a key or click once the command has ended, if set, from inside the event; an
    // owner that deletes the view there must use deleteLater().
    std::function<void()> onDismiss;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void commandEnded();
    void showState();

    RetroLabel* m_bar;
    TerminalView* m_terminal = nullptr;
    std::shared_ptr<TerminalSession> m_session;
    WorkerLink* m_link; // brings the command's end from its thread
    std::unique_ptr<JobThread> m_thread;
    bool m_ended = false;
};

} // namespace kiv
