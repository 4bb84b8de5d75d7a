#pragma once

#include "console/TerminalPainter.h"
#include "console/TerminalRenderer.h"
#include "terminal/PseudoTerminal.h"
#include "terminal/TerminalScreen.h"
#include "terminal/TerminalSnapshot.h"

#include <QClipboard>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

class QKeyEvent;

namespace kiv {

class TerminalSession;

// Shows a TerminalSession's cells as TerminalPainter draws them and hands it keys and mouse as a
// terminal does. It makes the terminal as big as the cells that fit, and redraws at most once a
// frame while the program writes; the frames are drawn off the window's thread (TerminalRenderer). Shift+PageUp and Shift+PageDown (and
// the wheel, unless the program takes the mouse) move the view through the scrollback; it keeps
// its place there while more lines arrive. It takes no focus: its owner hands it the keys.
class TerminalView : public QWidget
{
    Q_OBJECT
public:
    // The height of a row of cells, as the panels' rows.
    static constexpr int rowHeight = TerminalPainter::rowHeight;

    // Shows `session`, which it shares; the caller sets the geometry.
    explicit TerminalView(std::shared_ptr<TerminalSession> session, QWidget* parent = nullptr);

    // Returns how many cells fit in a view of `size` pixels (at least one row of one).
    static PseudoTerminal::Size gridFor(QSize size);

    // Moves a page up or down through the scrollback for Shift+PageUp or Shift+PageDown; returns
    // whether `event` was one of them.
    bool scrollFor(const QKeyEvent& event);
    // Sends a key pressed in the console to the program, the view back on the live screen first;
    // Shift+Insert pastes the clipboard instead. Keys that type nothing alone are ignored.
    void type(const QKeyEvent& event);
    // Returns what the view shows, as of its last frame.
    const TerminalSnapshot& shown() const { return m_frame.snapshot; }
    // Returns how many lines up in the scrollback the view stands (0: the live screen).
    std::size_t linesBack() const { return m_frame.snapshot.linesBack; }

    // Called after the view has shown new content or moved, if set.
    std::function<void()> onUpdate;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void refresh();
    void askFrame();
    void showFrame();
    void keepPlace(const TerminalSnapshot& snapshot);
    void takeSnapshot();
    void scrollBy(int lines);
    void paste(QClipboard::Mode mode);
    TerminalScreen::Position cellAt(QPointF point) const;
    bool reportMouse(const QMouseEvent& event, bool pressed);

    std::shared_ptr<TerminalSession> m_session;
    std::uint64_t m_askedChanges = 0; // the session's changes() when the last frame was asked for
    std::size_t m_linesBackAsked = 0;
    std::int64_t m_placedAt = 0; // the scrollback's pushed() when the view was placed up there
    QTimer m_frames;
    qreal m_cellWidth;
    TerminalRenderer::Frame m_frame; // the frame shown
    TerminalRenderer::Frame m_arrived; // a frame taken from the renderer, or storage to take one in
    std::uint64_t m_framesAsked = 0;
    std::uint64_t m_firstCurrentFrame = 0; // frames asked for before it show where the view stood before
    TerminalRenderer m_renderer; // last: its thread ends before the rest goes
};

} // namespace kiv
