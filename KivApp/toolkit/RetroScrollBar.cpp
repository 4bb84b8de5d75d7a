#include "toolkit/RetroScrollBar.h"

#include "toolkit/Theme.h"

#include <QPainter>
#include <QStyleOptionSlider>

namespace kiv {

namespace {

// A solid triangle filling the middle of `cell`, pointing up or down.
void drawArrow(QPainter& painter, const QRect& cell, bool up)
{
    const int half = std::max(1, (cell.width() - 4) / 2);
    const QPoint centre = cell.center();
    const int tip = up ? centre.y() - half / 2 : centre.y() + half / 2;
    const int base = up ? tip + half : tip - half;
    const QPoint corners[]
        = { { centre.x(), tip }, { centre.x() - half, base }, { centre.x() + half, base } };
    painter.drawPolygon(corners, 3);
}

} // namespace

RetroScrollBar::RetroScrollBar(QWidget* parent)
    : QScrollBar(Qt::Vertical, parent)
{
}

QSize RetroScrollBar::sizeHint() const
{
    return { thickness, QScrollBar::sizeHint().height() };
}

void RetroScrollBar::paintEvent(QPaintEvent*)
{
    // The parts go where the style puts them, so the mouse finds them where they are drawn.
    QStyleOptionSlider option;
    initStyleOption(&option);
    const auto part = [&](QStyle::SubControl control) {
        return style()->subControlRect(QStyle::CC_ScrollBar, &option, control, this);
    };
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect(), Theme::scrollBarTrack());
    if (maximum() > minimum())
        painter.fillRect(part(QStyle::SC_ScrollBarSlider), Theme::scrollBarThumb());
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::scrollBarArrow());
    drawArrow(painter, part(QStyle::SC_ScrollBarSubLine), true);
    drawArrow(painter, part(QStyle::SC_ScrollBarAddLine), false);
}

} // namespace kiv
