#include "panels/PanelTableView.h"

#include "toolkit/RetroPainting.h"
#include "toolkit/RetroScrollBar.h"
#include "toolkit/Theme.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
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
    viewport()->setAcceptDrops(true);
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

void PanelTableView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Insert:
        call(onToggleMark);
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
    const QPoint position = event->position().toPoint();
    m_pressRow = event->button() == Qt::LeftButton ? indexAt(position).row() : -1;
    m_pressPosition = position;
    QListView::mousePressEvent(event);
}

void PanelTableView::mouseMoveEvent(QMouseEvent* event)
{
    const bool dragged = (event->position().toPoint() - m_pressPosition).manhattanLength()
        >= QApplication::startDragDistance();
    if (m_pressRow < 0 || !(event->buttons() & Qt::LeftButton) || !dragged) {
        QListView::mouseMoveEvent(event);
        return;
    }
    const int row = m_pressRow;
    m_pressRow = -1;
    if (onDragStart)
        onDragStart(row);
}

// Files come as a list of URLs; other things dragged (text, pictures) are not taken.
void PanelTableView::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void PanelTableView::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        event->ignore();
}

void PanelTableView::dropEvent(QDropEvent* event)
{
    if (onDrop)
        onDrop(*event, indexAt(event->position().toPoint()).row());
    // A move is made here, never by the source: told of one, a source might delete what a
    // cancelled or skipped move left in its place. A source that offers only a move hears of none.
    event->setDropAction(
        event->possibleActions().testFlag(Qt::CopyAction) ? Qt::CopyAction : Qt::IgnoreAction);
    event->accept();
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
