#pragma once

#include "terminal/TerminalSnapshot.h"
#include "toolkit/FontCoverage.h"

#include <QFont>
#include <QRawFont>
#include <array>
#include <cstdint>

class QImage;
class QPainter;
class QRectF;

namespace kiv {

// Draws a terminal's cells in the panels' font, one character cell each: a wide character in
// two, a placeholder as a reversed "?", the cursor as a block in the cursor bar's colours. It
// draws on images only, so it may be made and used on any one thread.
class TerminalPainter
{
public:
    // The height of a row of cells, as the panels' rows.
    static constexpr int rowHeight = 16;
    // The room left of the first column, as in the panels' rows.
    static constexpr int textInset = 2;

    // Returns the width of a cell in pixels.
    static qreal cellWidth();

    // Loads the fonts; on the thread that will paint.
    TerminalPainter();

    // Draws `snapshot` over the whole of `image`, its background in the console's colour.
    void paint(const TerminalSnapshot& snapshot, QImage& image) const;

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

    void drawRow(QPainter& painter, const TerminalSnapshot& snapshot, int row) const;
    void drawRun(QPainter& painter, const TerminalSnapshot& snapshot, int row, int column, int end) const;
    void drawCell(QPainter& painter, const TerminalSnapshot& snapshot, int row, int column) const;
    void drawCursor(QPainter& painter, const TerminalSnapshot& snapshot) const;
    Style styleOf(const TerminalCell& cell) const;
    QRectF cellsRect(int row, int column, int count) const;
    void drawText(QPainter& painter, const QRectF& cells, const QString& text, const Style& style) const;
    void drawPaper(QPainter& painter, const QRectF& cells, const Style& style) const;
    void drawLines(QPainter& painter, const QRectF& cells, const Style& style) const;

    QFont m_font;
    QFont m_boldFont;
    AsciiGlyphs m_glyphs;
    AsciiGlyphs m_boldGlyphs;
    qreal m_cellWidth;
    qreal m_baseline;
    FontCoverage m_coverage;
};

} // namespace kiv
