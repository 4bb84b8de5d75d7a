#include "panels/PanelTableView.h"

#include "toolkit/RetroPainting.h"
#include "toolkit/RetroScrollBar.h"
#include "toolkit/Theme.h"

#include <QKeyEvent>
#include <algorithm>

namespace kiv {

PanelTableView::PanelTableView(QWidget* parent)
    : QListView(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Uniform rows let the view place 100,000 rows without asking for each row's size.
    setUniformItemSizes(true);
    // By whole rows, so no row is ever shown cut at the top.
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBar(new RetroScrollBar(this));
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setTabKeyNavigation(false);
    RetroPainting::setPaletteColor(*this, QPalette::Base, Theme::panelBackground());
    RetroPainting::setPaletteColor(*this, QPalette::Window, Theme::panelBackground());
}

int PanelTableView::visiblePageRowCount() const
{
    return std::max(1, viewport()->height() / rowHeight);
}

int PanelTableView::selectedRow() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void PanelTableView::moveSelection(int row)
{
    const int rows = model() ? model()->rowCount() : 0;
    if (rows == 0)
        return;
    const QModelIndex target = model()->index(std::clamp(row, 0, rows - 1), 0);
    setCurrentIndex(target);
    scrollTo(target);
}

void PanelTableView::moveSelectionBy(int step)
{
    if (!model() || model()->rowCount() == 0)
        return;
    moveSelection(std::max(selectedRow(), 0) + step);
}

// The file keys that are not plain navigation; they go to the list even where a menu of the
// window carries the same shortcut (the text widgets' Undo on macOS).
const std::function<void()>* PanelTableView::callbackFor(const QKeyEvent& event) const
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (event.key() == Qt::Key_Delete && modifiers == Qt::NoModifier)
        return &onMoveToTrash;
    if (event.key() != Qt::Key_Z)
        return nullptr;
    if (modifiers == Qt::ControlModifier)
        return &onUndo;
    return modifiers == (Qt::ControlModifier | Qt::ShiftModifier) ? &onRedo : nullptr;
}

bool PanelTableView::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && callbackFor(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    // QWidget::event would move the focus on Tab before keyPressEvent saw it.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QListView::event(event);
}

bool PanelTableView::pressAltKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
        call(onHistoryBack);
        return true;
    case Qt::Key_Right:
        call(onHistoryForward);
        return true;
    case Qt::Key_Down:
        call(onHistoryMenu);
        return true;
    default:
        return false;
    }
}

void PanelTableView::keyPressEvent(QKeyEvent* event)
{
    if (const std::function<void()>* callback = callbackFor(*event)) {
        call(*callback);
        event->accept();
        return;
    }
    if (event->modifiers().testFlag(Qt::AltModifier) && pressAltKey(event->key())) {
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Insert:
        call(onToggleMark);
        break;
    case Qt::Key_Plus:
        call(onSelectGroup);
        break;
    case Qt::Key_Minus:
        call(onUnselectGroup);
        break;
    case Qt::Key_Asterisk:
        call(onInvertMarks);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        call(onActivateSelection);
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        call(onSwitchPanel);
        break;
    case Qt::Key_Backspace:
        call(onGoToParent);
        break;
    case Qt::Key_Escape:
        call(onStopListing);
        break;
    case Qt::Key_Up:
        moveSelectionBy(-1);
        break;
    case Qt::Key_Down:
        moveSelectionBy(1);
        break;
    case Qt::Key_PageUp:
        moveSelectionBy(-visiblePageRowCount());
        break;
    case Qt::Key_PageDown:
        moveSelectionBy(visiblePageRowCount());
        break;
    case Qt::Key_Home:
        moveSelection(0);
        break;
    case Qt::Key_End:
        if (model())
            moveSelection(model()->rowCount() - 1);
        break;
    default:
        QListView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void PanelTableView::focusInEvent(QFocusEvent* event)
{
    QListView::focusInEvent(event);
    call(onBecameFirstResponder);
}

void PanelTableView::mousePressEvent(QMouseEvent* event)
{
    // Focus first, so a click into the inactive panel activates it and moves its cursor at once.
    setFocus(Qt::MouseFocusReason);
    QListView::mousePressEvent(event);
}

QItemSelectionModel::SelectionFlags PanelTableView::selectionCommand(
    const QModelIndex& index, const QEvent*) const
{
    // Exactly one row is always selected: no Ctrl+click deselection, no click into empty space.
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
}

void PanelTableView::call(const std::function<void()>& callback)
{
    if (callback)
        callback();
}

} // namespace kiv
