#pragma once

#include <QListView>

class QKeyEvent;
#include <functional>

namespace kiv {

// The list inside a file panel: one column of 16-pixel rows that takes the keyboard focus,
// turns the panel keys into the callbacks below and moves the cursor (the one selected row)
// without wrapping. Knows nothing of files; other keys reach QListView, so letters still
// search by the model's display text.
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
    // Called on "+" (main keys or keypad); may be unset.
    std::function<void()> onSelectGroup;
    // Called on "-" (main keys or keypad); may be unset.
    std::function<void()> onUnselectGroup;
    // Called on "*" (main keys or keypad); may be unset.
    std::function<void()> onInvertMarks;
    // Called on Return and keypad Enter; may be unset.
    std::function<void()> onActivateSelection;
    // Called on Tab and Shift+Tab; may be unset.
    std::function<void()> onSwitchPanel;
    // Called on Backspace; may be unset.
    std::function<void()> onGoToParent;
    // Called on Escape; may be unset.
    std::function<void()> onStopListing;
    // Called on Alt+Left; may be unset.
    std::function<void()> onHistoryBack;
    // Called on Alt+Right; may be unset.
    std::function<void()> onHistoryForward;
    // Called on Alt+Down; may be unset.
    std::function<void()> onHistoryMenu;
    // Called on Delete; may be unset.
    std::function<void()> onMoveToTrash;
    // Called on Ctrl+Z (Cmd+Z on macOS); may be unset.
    std::function<void()> onUndo;
    // Called on Ctrl+Shift+Z (Cmd+Shift+Z on macOS); may be unset.
    std::function<void()> onRedo;
    // Called whenever the list receives the keyboard focus; may be unset.
    std::function<void()> onBecameFirstResponder;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(
        const QModelIndex& index, const QEvent* event = nullptr) const override;

private:
    bool pressAltKey(int key);
    void moveSelectionBy(int step);
    const std::function<void()>* callbackFor(const QKeyEvent& event) const;
    static void call(const std::function<void()>& callback);
};

} // namespace kiv
