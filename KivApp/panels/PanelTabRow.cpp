#include "panels/PanelTabRow.h"

#include "text/CellText.h"
#include "toolkit/Theme.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace kiv {

namespace {

constexpr qreal tabFontSize = 12;

QString textOf(const CellText::Piece& piece)
{
    return QString::fromUtf8(piece.text.data(), qsizetype(piece.text.size()));
}

// The cells a title takes: its name after a blank, a blank after it, a long one cut.
int cellsOf(const std::string& title)
{
    return std::min(PanelTabRow::titleCells, int(title.size()) + 2);
}

} // namespace

PanelTabRow::PanelTabRow(QWidget* parent)
    : QWidget(parent)
{
    setFixedHeight(rowHeight);
}

void PanelTabRow::setTitles(std::vector<std::string> titles, std::size_t shown)
{
    m_titles = std::move(titles);
    m_shown = shown;
    update();
}

void PanelTabRow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.fillRect(rect(), Theme::panelBackground());
    const QFont font = Theme::monoFont(tabFontSize);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const qreal cell = metrics.horizontalAdvance(QLatin1Char('M'));
    const qreal baseline = std::round((height() - metrics.height()) / 2 + metrics.ascent());
    qreal x = cell;
    for (std::size_t at = firstInSight(int(width() / cell)); at < m_titles.size(); ++at) {
        const int cells = cellsOf(m_titles[at]);
        const CellText::Line line = CellText::fitted(" " + m_titles[at], cells, CellText::Side::left);
        const bool shown = at == m_shown;
        painter.fillRect(QRectF(x, 0, cells * cell, height()), shown ? Theme::cursorBackground() : Theme::panelBackground());
        for (const CellText::Piece& piece : line) {
            const bool cut = piece.kind == CellText::Piece::Kind::cut;
            painter.setPen(cut ? Theme::panelCutMarker() : shown ? Theme::cursorText() : Theme::panelHeader());
            painter.drawText(QPointF(x, baseline), textOf(piece));
            x += piece.cells * cell;
        }
        x += cell;
    }
}

// The titles before the shown one give way, from the first, until it fits in the row.
std::size_t PanelTabRow::firstInSight(int rowCells) const
{
    if (m_shown >= m_titles.size())
        return 0;
    std::size_t first = m_shown;
    int used = 1 + cellsOf(m_titles[m_shown]) + 1;
    while (first > 0 && used + cellsOf(m_titles[first - 1]) + 1 <= rowCells)
        used += cellsOf(m_titles[--first]) + 1;
    return first;
}

} // namespace kiv
