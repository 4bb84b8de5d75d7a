#include "PanelRowView.h"

#include "PanelTableView.h"
#include "RetroPainting.h"
#include "Theme.h"

#include <QPainter>

namespace kiv {

namespace {

constexpr int fontSize = 12;
// The text starts just inside the row, where a label's own margin would put it.
constexpr qreal textInset = 2;

} // namespace

PanelRowView::PanelRowView(QObject* parent)
    : QStyledItemDelegate(parent)
    , m_font(Theme::monoFont(fontSize))
{
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
    painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
    painter->setClipRect(option.rect);
    painter->translate(option.rect.topLeft());
    RetroPainting::drawLineCentred(*painter, text.toString(), textInset, option.rect.height());
    painter->restore();
}

QSize PanelRowView::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return { option.rect.width(), PanelTableView::rowHeight };
}

} // namespace kiv
