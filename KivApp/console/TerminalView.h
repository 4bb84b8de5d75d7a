#pragma once

#include "terminal/PseudoTerminal.h"
#include "terminal/TerminalScreen.h"
#include "terminal/TerminalSnapshot.h"
#include "toolkit/FontCoverage.h"

#include <QClipboard>
#include <QRawFont>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QKeyEvent;

namespace kiv {

class TerminalSession;

// Draws a TerminalSession's cells in the panels' font, one character cell each (a wide character
// in two, a placeholder as a reversed "?", the cursor as a block in the cursor bar's colours), and
// hands it keys and mouse as a terminal does. It makes the terminal as big as the cells that fit,
// and redraws at most once a frame while the program writes. Shift+PageUp and Shift+PageDown (and
// the wheel, unless the program takes the mouse) move the view through the scrollback; it keeps
// its place there while more lines arrive. It takes no focus: its owner hands it the keys.
class TerminalView : public QWidget
{
    Q_OBJECT
public:
    // The height of a row of cells, as the panels' rows.
    static constexpr int rowHeight = 16;

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
    const TerminalSnapshot& shown() const { return m_snapshot; }
    // Returns how many lines up in the scrollback the view stands (0: the live screen).
    std::size_t linesBack() const { return m_snapshot.linesBack; }

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
    struct Style;
    // A font's glyphs for printable ASCII, looked up once: runs of it are drawn without the
    // text layout, which a flood of output would pay for on every row of every frame.
    struct AsciiGlyphs
    {
        explicit AsciiGlyphs(const QFont& from);
        QRawFont font;
        std::array<quint32, 0x7F - 0x20> indexes {};
    };

    void refresh();
    void takeSnapshot();
    void scrollBy(int lines);
    void paste(QClipboard::Mode mode);
    TerminalScreen::Position cellAt(QPointF point) const;
    bool reportMouse(const QMouseEvent& event, bool pressed);
    void drawRun(QPainter& painter, int row, int column, int end) const;
    void drawCell(QPainter& painter, int row, int column) const;
    void drawCursor(QPainter& painter) const;
    Style styleOf(const TerminalCell& cell) const;
    QRectF cellsRect(int row, int column, int count) const;
    void drawText(QPainter& painter, const QRectF& cells, const QString& text, const Style& style) const;
    void drawPaper(QPainter& painter, const QRectF& cells, const Style& style) const;
    void drawLines(QPainter& painter, const QRectF& cells, const Style& style) const;

    std::shared_ptr<TerminalSession> m_session;
    TerminalSnapshot m_snapshot;
    std::uint64_t m_shownChanges = 0;
    std::size_t m_linesBackAsked = 0;
    std::int64_t m_placedAt = 0; // the scrollback's pushed() when the view was placed up there
    QTimer m_frames;
    QFont m_font;
    QFont m_boldFont;
    AsciiGlyphs m_glyphs;
    AsciiGlyphs m_boldGlyphs;
    qreal m_cellWidth = 0;
    qreal m_baseline = 0;
    FontCoverage m_coverage;
};

} // namespace kiv
