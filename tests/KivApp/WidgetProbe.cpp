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
    return qRgb(qRed(image.pixel(x, y)), qGreen(image.pixel(x, y)), qBlue(image.pixel(x, y)))
        == qRgb(color.red(), color.green(), color.blue());
}

} // namespace kiv::test
