#include "toolkit/RetroSplitView.h"

#include "toolkit/RetroSplitHandle.h"
#include "toolkit/Theme.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace kiv {

RetroSplitView::RetroSplitView(QWidget* parent)
    : QSplitter(Qt::Horizontal, parent)
{
    setHandleWidth(dividerThickness);
    // Panes must be able to shrink to nothing, or a narrow split would push the divider aside.
    setChildrenCollapsible(true);
    setOpaqueResize(true);
}

void RetroSplitView::equalizePanes()
{
    if (count() != 2)
        return;
    const int available = std::max(0, width() - dividerThickness);
    const int half = available / 2;
    setSizes({ half, available - half });
}

QSplitterHandle* RetroSplitView::createHandle()
{
    return new RetroSplitHandle(orientation(), this);
}

void RetroSplitView::resizeEvent(QResizeEvent* event)
{
    QSplitter::resizeEvent(event);
    equalizePanes();
}

void RetroSplitView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Theme::panelBackground());
}

} // namespace kiv
