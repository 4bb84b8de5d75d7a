#include "console/TerminalPainter.h"

#include "toolkit/Theme.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <cmath>

namespace kiv {

namespace {

constexpr int terminalFontSize = 12;

bool isPlainAscii(const TerminalCell& cell)
{
    return cell.width == 1 && cell.mark == 0 && cell.character >= 0x20 && cell.character < 0x7F;
}

bool sameStyle(const TerminalCell& a, const TerminalCell& b)
{
    return a.foreground == b.foreground && a.background == b.background && a.style == b.style;
}

} // namespace

// How a cell is drawn: its colours with reverse applied, and its font.
struct TerminalPainter::Style
{
    const QColor& ink;
    const QColor& paper;
    const QFont& font;
    std::uint8_t lines; // TerminalCell::underline and TerminalCell::strike
};

qreal TerminalPainter::cellWidth()
{
    return QFontMetricsF(Theme::monoFont(terminalFontSize)).horizontalAdvance(QLatin1Char('M'));
}

TerminalPainter::TerminalPainter()
    : m_font(Theme::monoFont(terminalFontSize))
    , m_boldFont(Theme::monoFontBold(terminalFontSize))
    , m_glyphs(m_font)
    , m_boldGlyphs(m_boldFont)
    , m_cellWidth(QFontMetricsF(m_font).horizontalAdvance(QLatin1Char('M')))
    , m_coverage(m_font)
{
    const QFontMetricsF metrics(m_font);
    m_baseline = std::round((rowHeight - metrics.height()) / 2 + metrics.ascent());
}

TerminalPainter::AsciiGlyphs::AsciiGlyphs(const QFont& from)
    : font(QRawFont::fromFont(from))
{
    QString ascii;
    for (char16_t character = 0x20; character < 0x7F; ++character)
        ascii += QChar(character);
    const QList<quint32> found = font.glyphIndexesForString(ascii);
    std::copy_n(found.begin(), std::min<qsizetype>(found.size(), qsizetype(indexes.size())), indexes.begin());
}

void TerminalPainter::paint(const TerminalSnapshot& snapshot, QImage& image) const
{
    image.fill(Theme::commandLineBackground());
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    for (int row = 0; row < snapshot.rows; ++row)
        drawRow(painter, snapshot, row);
    drawCursor(painter, snapshot);
}

void TerminalPainter::drawRow(QPainter& painter, const TerminalSnapshot& snapshot, int row) const
{
    for (int column = 0; column < snapshot.columns;) {
        const TerminalCell& first = snapshot.at(row, column);
        if (!isPlainAscii(first)) {
            drawCell(painter, snapshot, row, column);
            column += std::max<int>(1, first.width);
            continue;
        }
        int end = column + 1;
        while (end < snapshot.columns && isPlainAscii(snapshot.at(row, end)) && sameStyle(snapshot.at(row, end), first))
            ++end;
        drawRun(painter, snapshot, row, column, end);
        column = end;
    }
}

// A run of printable ASCII in one style is drawn as one run of glyphs, each placed on its cell.
void TerminalPainter::drawRun(QPainter& painter, const TerminalSnapshot& snapshot, int row, int column, int end) const
{
    const TerminalCell& first = snapshot.at(row, column);
    const AsciiGlyphs& glyphs = (first.style & TerminalCell::bold) ? m_boldGlyphs : m_glyphs;
    QList<quint32> indexes(end - column);
    QList<QPointF> positions(end - column);
    for (int at = column; at < end; ++at) {
        indexes[at - column] = glyphs.indexes[snapshot.at(row, at).character - 0x20];
        positions[at - column] = QPointF((at - column) * m_cellWidth, 0);
    }
    QGlyphRun run;
    run.setRawFont(glyphs.font);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    const QRectF cells = cellsRect(row, column, end - column);
    const Style style = styleOf(first);
    drawPaper(painter, cells, style);
    painter.drawGlyphRun(QPointF(cells.left(), cells.top() + m_baseline), run);
    drawLines(painter, cells, style);
}

void TerminalPainter::drawCell(QPainter& painter, const TerminalSnapshot& snapshot, int row, int column) const
{
    const TerminalCell& cell = snapshot.at(row, column);
    if (cell.width == 0)
        return; // the right half of a wide character, drawn with its left
    const Style style = styleOf(cell);
    const QRectF cells = cellsRect(row, column, std::min<int>(cell.width, snapshot.columns - column));
    if (cell.character == TerminalCell::placeholder) {
        drawText(painter, cells, QStringLiteral("?"), { style.paper, style.ink, style.font, style.lines });
        return;
    }
    const char32_t characters[] = { cell.character, cell.mark };
    const QString text = QString::fromUcs4(characters, cell.mark ? 2 : 1);
    if (m_coverage.canDraw(text)) {
        drawText(painter, cells, text, style);
        return;
    }
    painter.fillRect(cells, style.paper);
    painter.setPen(style.ink);
    painter.drawRect(cells.adjusted(1, 3, -2, -4));
}

void TerminalPainter::drawCursor(QPainter& painter, const TerminalSnapshot& snapshot) const
{
    if (!snapshot.cursorShown || snapshot.cursorRow >= snapshot.rows || snapshot.cursorColumn >= snapshot.columns)
        return;
    const TerminalCell& cell = snapshot.at(snapshot.cursorRow, snapshot.cursorColumn);
    const QRectF cells = cellsRect(snapshot.cursorRow, snapshot.cursorColumn, std::max<int>(1, cell.width));
    painter.fillRect(cells, Theme::cursorBackground());
    if (cell.width == 0 || cell.character == U' ')
        return;
    const char32_t characters[] = { cell.character == TerminalCell::placeholder ? U'?' : cell.character, cell.mark };
    drawText(painter, cells, QString::fromUcs4(characters, cell.mark ? 2 : 1),
        { Theme::cursorText(), Theme::cursorBackground(), styleOf(cell).font, 0 });
}

TerminalPainter::Style TerminalPainter::styleOf(const TerminalCell& cell) const
{
    const QColor& ink = cell.foreground == TerminalCell::defaultColour ? Theme::panelText()
                                                                       : Theme::terminalColor(cell.foreground);
    const QColor& paper = cell.background == TerminalCell::defaultColour
        ? Theme::commandLineBackground()
        : Theme::terminalColor(cell.background);
    const bool reverse = cell.style & TerminalCell::reverse;
    return { reverse ? paper : ink, reverse ? ink : paper, (cell.style & TerminalCell::bold) ? m_boldFont : m_font,
        std::uint8_t(cell.style & (TerminalCell::underline | TerminalCell::strike)) };
}

QRectF TerminalPainter::cellsRect(int row, int column, int count) const
{
    return { textInset + column * m_cellWidth, qreal(row * rowHeight), count * m_cellWidth, qreal(rowHeight) };
}

void TerminalPainter::drawText(QPainter& painter, const QRectF& cells, const QString& text, const Style& style) const
{
    drawPaper(painter, cells, style);
    painter.setFont(style.font);
    painter.drawText(QPointF(cells.left(), cells.top() + m_baseline), text);
    drawLines(painter, cells, style);
}

// Fills the cells' background unless it is the console's own, and takes the ink.
void TerminalPainter::drawPaper(QPainter& painter, const QRectF& cells, const Style& style) const
{
    if (style.paper != Theme::commandLineBackground())
        painter.fillRect(cells, style.paper);
    painter.setPen(style.ink);
}

void TerminalPainter::drawLines(QPainter& painter, const QRectF& cells, const Style& style) const
{
    if (style.lines & TerminalCell::underline)
        painter.drawLine(
            QLineF(cells.left(), cells.top() + m_baseline + 1, cells.right() - 1, cells.top() + m_baseline + 1));
    if (style.lines & TerminalCell::strike)
        painter.drawLine(QLineF(cells.left(), cells.center().y(), cells.right() - 1, cells.center().y()));
}

} // namespace kiv
