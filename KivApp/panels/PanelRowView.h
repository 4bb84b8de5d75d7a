#pragma once

#include <QFont>
#include <QStyledItemDelegate>

namespace kiv {

// Paints the rows of a panel list: the panel background, the cursor bar behind the selected row
// (cyan in the active panel, dark grey in the other) and the row's text (the model's display text
// unless it gives RowTextRole) in the 12-pixel fixed font: on the bar in the cursor text colour,
// elsewhere in the colour of the row's ForegroundRole.
class PanelRowView : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // The model role holding the whole text of a row when it differs from the display text.
    static constexpr int RowTextRole = Qt::UserRole + 1;

    // Creates a painter for the rows of an active panel.
    explicit PanelRowView(QObject* parent = nullptr);

    // Sets whether the cursor bar is drawn in the active colour; the list must repaint to show it.
    void setActivePanelCursor(bool active) { m_isActivePanelCursor = active; }

    // Paints one row into option.rect: background or cursor bar, then the text, unantialiased.
    void paint(
        QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // Returns the row's size: as wide as offered, PanelTableView::rowHeight high.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    bool m_isActivePanelCursor = true;
    QFont m_font;
    qreal m_ascent = 0;
    qreal m_lineHeight = 0;
};

} // namespace kiv
