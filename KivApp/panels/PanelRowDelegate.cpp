#include "panels/PanelRowDelegate.h"

#include "panel/PanelState.h"
#include "panels/PanelTableView.h"
#include "panel/PanelRowText.h"
#include "toolkit/Theme.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace kiv {

namespace {

constexpr int rowFontSize = 12;

} // namespace

PanelRowDelegate::PanelRowDelegate(const PanelState& state, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_state(state)
    , m_font(rowFont())
    , m_coverage(m_font)
{
    const QFontMetricsF metrics(m_font);
    m_ascent = metrics.ascent();
    m_lineHeight = metrics.height();
    m_cellWidth = metrics.horizontalAdvance(QLatin1Char('M'));
}

QFont PanelRowDelegate::rowFont()
{
    return Theme::monoFont(rowFontSize);
}

int PanelRowDelegate::cellsAcross(int width) const
{
    return std::max(0, int(std::floor((width - textInset) / m_cellWidth)));
}

void PanelRowDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const auto row = std::size_t(index.row());
    if (row >= m_state.entries().size())
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setRenderHint(QPainter::TextAntialiasing, false);
    const bool isCursorRow = option.state & QStyle::State_Selected;
    const QColor& bar = m_isActivePanelCursor ? Theme::cursorBackground() : Theme::inactiveCursorBG();
    const QColor& background = isCursorRow ? bar : Theme::panelBackground();
    painter->fillRect(option.rect, background);
    painter->setFont(m_font);
    painter->setPen(isCursorRow ? Theme::cursorText() : index.data(Qt::ForegroundRole).value<QColor>());
    painter->setClipRect(option.rect);
    const int nameWidth = PanelRowText::nameWidth(cellsAcross(option.rect.width()));
    qreal x = option.rect.left() + textInset;
    for (const CellText::Piece& piece : PanelRowText::row(m_state.entries()[row], nameWidth)) {
        const QRectF cells(x, option.rect.top(), piece.cells * m_cellWidth, option.rect.height());
        drawPiece(*painter, piece, cells,
            { background, isCursorRow ? Theme::cursorText() : Theme::panelCutMarker() });
        x = cells.right();
    }
    painter->restore();
}

// Drawn at a baseline rather than into a rectangle: no text layout, which keeps scrolling through
// long lists cheap.
void PanelRowDelegate::drawPiece(
    QPainter& painter, const CellText::Piece& piece, const QRectF& cells, RowColors colors) const
{
    const QPointF baseline(
        cells.left(), cells.top() + std::round((cells.height() - m_lineHeight) / 2 + m_ascent));
    const QString text = QString::fromUtf8(piece.text.data(), qsizetype(piece.text.size()));
    switch (piece.kind) {
    case CellText::Piece::Kind::placeholder: {
        const QColor ink = painter.pen().color();
        painter.fillRect(cells, ink);
        painter.setPen(colors.background);
        painter.drawText(baseline, text);
        painter.setPen(ink);
        return;
    }
    case CellText::Piece::Kind::cut: {
        const QPen ink = painter.pen();
        painter.setPen(colors.marker);
        painter.drawText(baseline, text);
        painter.setPen(ink);
        return;
    }
    case CellText::Piece::Kind::text:
        // A run of ASCII takes one cell a byte; anything else is one character, which may need a
        // font other than the row's, or none at all.
        if (piece.cells == int(piece.text.size()) || m_coverage.canDraw(text))
            painter.drawText(baseline, text);
        else
            painter.drawRect(cells.adjusted(1, 3, -2, -4));
        return;
    }
}

QSize PanelRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return { option.rect.width(), PanelTableView::rowHeight };
}

} // namespace kiv
