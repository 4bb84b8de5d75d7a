#pragma once

#include <QListView>

#include <functional>

class QDropEvent;
class QKeyEvent;

namespace kiv {

// The list inside a file panel: one column of 16-pixel rows that takes the keyboard focus, moves
// the cursor (the one selected row) without wrapping and reports the marking keys, drags started
// from its rows and lists of URLs dropped on them. Knows nothing of files; the window's command
// table has the other keys first, and the rest reach QListView, so letters still search by the
// model's display text.
class PanelTableView : public QListView
{
    Q_OBJECT
public:
    // The height of every row in pixels.
    static constexpr int rowHeight = 16;

    // Creates an empty list with single-row selection that never becomes empty by a click.
    explicit PanelTableView(QWidget* parent = nullptr);

    // Returns the number of whole rows the visible area holds, at least 1.
    int visiblePageRowCount() const;

    // Returns the selected row, or -1 when nothing is selected.
    int selectedRow() const;

    // Selects exactly `row` (clamped into the rows) and scrolls it into view; nothing when empty.
    void moveSelection(int row);

    // Called on Space and Insert; may be unset.
    std::function<void()> onToggleMark;
    // Called whenever the list receives the keyboard focus; may be unset.
    std::function<void()> onBecameFirstResponder;
    // Called when the left button, pressed on `row`, has moved the drag distance; may be unset.
    std::function<void(int row)> onDragStart;
    // Called when `event`, which may name files, is dropped on `row` (-1 below the rows); may be
    // unset. The source never hears of a move: whatever the list does, the source keeps its items.
    std::function<void(const QDropEvent& event, int row)> onDrop;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(
        const QModelIndex& index, const QEvent* event = nullptr) const override;

private:
    void moveSelectionBy(int step);
    static void call(const std::function<void()>& callback);

    QPoint m_pressPosition;
    int m_pressRow = -1; // the row the left button went down on, until a drag starts from it
};

} // namespace kiv
