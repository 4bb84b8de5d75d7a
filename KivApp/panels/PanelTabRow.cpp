#include "panels/PanelTabRow.h"

#include "text/CellText.h"
#include "toolkit/Theme.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace kiv {

namespace {

constexpr qreal fontSize = 12;

QString textOf(const CellText::Piece& piece)
{
    return QString::fromUtf8(piece.text.data(), qsizetype(piece.text.size()));
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
    const QFont font = Theme::monoFont(fontSize);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const qreal cell = metrics.horizontalAdvance(QLatin1Char('M'));
    const qreal baseline = std::round((height() - metrics.height()) / 2 + metrics.ascent());
    qreal x = cell;
    for (std::size_t at = 0; at < m_titles.size(); ++at) {
        const int cells = std::min(titleCells, int(m_titles[at].size()) + 2);
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

} // namespace kiv
