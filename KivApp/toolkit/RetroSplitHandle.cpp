#include "toolkit/RetroSplitHandle.h"

#include "toolkit/Theme.h"

#include <QPaintEvent>
#include <QPainter>

namespace kiv {

RetroSplitHandle::RetroSplitHandle(Qt::Orientation orientation, QSplitter* parent)
    : QSplitterHandle(orientation, parent)
{
}

void RetroSplitHandle::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Theme::panelHeaderBG());
}

} // namespace kiv
