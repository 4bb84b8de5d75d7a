#pragma once

#include "toolkit/RetroMenuItem.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

namespace kiv {

// The face of a popup menu: one bold row per entry, thin rules for separators, a cyan bar on the
// highlighted entry and a black frame. Up and Down move the highlight over selectable entries
// with wrap-around, Return chooses, an entry's key letter chooses it at once, Escape cancels; a
// mouse release on an entry chooses it. Left and Right ask for the neighbouring menu.
class RetroMenuView : public QWidget
{
    Q_OBJECT
public:
    // One laid-out row: its entry and its rectangle in the view.
    struct Row
    {
        RetroMenuItem item;
        QRect frame;
    };

    // Height of an entry row, in pixels.
    static constexpr int rowHeight = 20;
    // Height of a separator row, in pixels.
    static constexpr int separatorHeight = 9;
    // Space left and right of an entry's title, in pixels.
    static constexpr int horizontalPadding = 14;
    // Empty space above the first and below the last row, in pixels.
    static constexpr int verticalMargin = 4;

    // Creates the view for `items`, sized to intrinsicSize() with its rows laid out, nothing
    // highlighted.
    explicit RetroMenuView(std::vector<RetroMenuItem> items, QWidget* parent = nullptr);

    // Returns the font of the entries.
    static QFont menuFont();
    // Returns the size the menu needs: the widest title plus padding but at least 150 wide; the
    // rows plus 4 above and below high.
    QSize intrinsicSize() const;
    // Lays out one row per item, full `width` wide, from y = 4 down.
    void layoutRows(int width);
    // Returns the laid-out rows.
    const std::vector<Row>& rows() const { return m_rows; }
    // Returns the highlighted row's index; it always names a selectable row.
    std::optional<int> highlightedRow() const { return m_highlightedRow; }

    // Returns the index of the selectable row under `point`, or nothing.
    std::optional<int> rowIndex(QPoint point) const;
    // Highlights the selectable row under `point`, or nothing when there is none.
    void updateHighlight(QPoint point);
    // Reports the action of row `index` through onChoose when that row is selectable.
    void choose(int index);
    // Moves the highlight by `delta` (+1 or -1) over the selectable rows, wrapping around; from
    // no highlight, +1 goes to the first and -1 to the last.
    void moveHighlight(int delta);

    // Called with the chosen entry's action; may be unset.
    std::function<void(std::function<void()>)> onChoose;
    // Called when the user presses Escape; may be unset.
    std::function<void()> onCancel;
    // Called with -1 for Left and +1 for Right, to open the neighbouring menu; may be unset.
    std::function<void(int delta)> onSideStep;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setHighlightedRow(std::optional<int> row);
    std::vector<int> selectableRows() const;
    void drawRow(QPainter& painter, int index) const;
    bool chooseByKey(const QString& typed);

    std::vector<RetroMenuItem> m_items;
    std::vector<Row> m_rows;
    std::optional<int> m_highlightedRow;
};

} // namespace kiv
