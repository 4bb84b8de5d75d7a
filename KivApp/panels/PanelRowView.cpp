#include "panels/PanelRowView.h"

#include "panels/PanelTableView.h"
#include "toolkit/Theme.h"

#include <QFontMetricsF>
#include <QPainter>

namespace kiv {

namespace {

constexpr int fontSize = 12;
// The text starts just inside the row, where a label's own margin would put it.
constexpr int textInset = 2;

} // namespace

PanelRowView::PanelRowView(QObject* parent)
    : QStyledItemDelegate(parent)
    , m_font(Theme::monoFont(fontSize))
{
    const QFontMetricsF metrics(m_font);
    m_ascent = metrics.ascent();
    m_lineHeight = metrics.height();
}

void PanelRowView::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setRenderHint(QPainter::TextAntialiasing, false);
    const bool isCursorRow = option.state & QStyle::State_Selected;
    const QColor& bar = m_isActivePanelCursor ? Theme::cursorBackground() : Theme::inactiveCursorBG();
    painter->fillRect(option.rect, isCursorRow ? bar : Theme::panelBackground());
    QVariant text = index.data(RowTextRole);
    if (!text.isValid())
        text = index.data(Qt::DisplayRole);
    painter->setFont(m_font);
    painter->setPen(isCursorRow ? Theme::cursorText() : index.data(Qt::ForegroundRole).value<QColor>());
    painter->setClipRect(option.rect);
    // Drawn at a baseline rather than into a rectangle: no text layout, which keeps scrolling
    // through long lists cheap.
    const int baseline = option.rect.top() + qRound((option.rect.height() - m_lineHeight) / 2 + m_ascent);
    painter->drawText(QPoint(option.rect.left() + textInset, baseline), text.toString());
    painter->restore();
}

QSize PanelRowView::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return { option.rect.width(), PanelTableView::rowHeight };
}

} // namespace kiv
