#pragma once

#include "text/CellText.h"
#include "toolkit/FontCoverage.h"

#include <QFont>
#include <QStyledItemDelegate>

namespace kiv {

class PanelState;

// Paints the rows of a panel list: the panel background, the cursor bar behind the selected row
// (cyan in the active panel, dark grey in the other) and the row of the entry (PanelRowText) in
// the 12-pixel fixed font, every character on its own cells so the columns stay in line: on the
// bar in the cursor text colour, elsewhere in the colour of the row's ForegroundRole.
// Placeholders show reversed, the cut marker in the folder colour, and a character no installed
// font can draw as a box over its cells.
class PanelRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // The space left of the first cell, where a label's own margin would put the text.
    static constexpr int textInset = 2;

    // Creates a painter for the rows of `state`, which must outlive it, in an active panel.
    explicit PanelRowDelegate(const PanelState& state, QObject* parent = nullptr);

    // Returns the font the rows are drawn in.
    static QFont rowFont();
    // Returns the width of one character cell of rowFont(), in pixels.
    qreal cellWidth() const { return m_cellWidth; }
    // Returns how many whole cells fit in a row `width` pixels wide after the inset.
    int cellsAcross(int width) const;

    // Sets whether the cursor bar is drawn in the active colour; the list must repaint to show it.
    void setActivePanelCursor(bool active) { m_isActivePanelCursor = active; }

    // Paints one row into option.rect: background or cursor bar, then the text, unantialiased.
    void paint(
        QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // Returns the row's size: as wide as offered, PanelTableView::rowHeight high.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    // The colours of one row: its background, and the cut marker's.
    struct RowColors
    {
        const QColor& background;
        const QColor& marker;
    };
    void drawPiece(
        QPainter& painter, const CellText::Piece& piece, const QRectF& cells, RowColors colors) const;

    const PanelState& m_state;
    bool m_isActivePanelCursor = true;
    QFont m_font;
    qreal m_ascent = 0;
    qreal m_lineHeight = 0;
    qreal m_cellWidth = 0;
    FontCoverage m_coverage;
};

} // namespace kiv
