#include "toolkit/RetroPainting.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QWidget>

namespace kiv::RetroPainting {

QSizeF measure(const QString& text, const QFont& font)
{
    const QFontMetricsF metrics(font);
    return { metrics.horizontalAdvance(text), metrics.height() };
}

QSizeF drawLine(QPainter& painter, const QString& text, QPointF topLeft)
{
    const QSizeF size = measure(text, painter.font());
    painter.drawText(
        QRectF(topLeft, size), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text);
    return size;
}

QSizeF drawLineCentred(QPainter& painter, const QString& text, qreal x, qreal bandHeight)
{
    const qreal lineHeight = QFontMetricsF(painter.font()).height();
    return drawLine(painter, text, { x, (bandHeight - lineHeight) / 2 });
}

void setPaletteColor(QWidget& widget, QPalette::ColorRole role, const QColor& color)
{
    QPalette colors = widget.palette();
    colors.setColor(role, color);
    widget.setPalette(colors);
}

std::optional<int> indexOfFrameAt(const QList<QRectF>& frames, QPointF point)
{
    for (int index = 0; index < frames.size(); ++index)
        if (frames[index].contains(point))
            return index;
    return std::nullopt;
}

} // namespace kiv::RetroPainting
