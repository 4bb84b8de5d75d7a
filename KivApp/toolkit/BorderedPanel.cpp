#include "toolkit/BorderedPanel.h"

#include "toolkit/Theme.h"

#include <QPaintEvent>
#include <QPainter>

namespace kiv {

BorderedPanel::BorderedPanel(QWidget* parent)
    : QWidget(parent)
{
}

void BorderedPanel::paintEvent(QPaintEvent* event)
{
    if (width() <= 0 || height() <= 0)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(event->rect(), Theme::panelBackground());
    painter.setPen(QPen(Theme::panelHeaderBG(), 1));
    painter.setBrush(Qt::NoBrush);
    // An aliased one-pixel rectangle covers x .. x + width, so this lands on the outermost pixels.
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace kiv
