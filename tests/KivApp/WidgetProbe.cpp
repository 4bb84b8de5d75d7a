#include "WidgetProbe.h"

#include <QWidget>

namespace kiv::test {

QImage renderOn(QWidget& widget, const QColor& backdrop)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(backdrop);
    widget.render(&image, {}, {}, QWidget::DrawChildren);
    return image;
}

bool hasColorAt(const QImage& image, int x, int y, const QColor& color)
{
    return (image.pixel(x, y) & 0xFFFFFF) == (color.rgb() & 0xFFFFFF);
}

int pixelsOf(const QImage& image, const QColor& color, QRect area)
{
    area = area.isEmpty() ? image.rect() : area & image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += hasColorAt(image, x, y, color);
    return count;
}

} // namespace kiv::test
