#include "WidgetProbe.h"

namespace kiv::test {

int pixelsOf(const QImage& image, const QColor& color, QRect area)
{
    area = area.isEmpty() ? image.rect() : area & image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == (color.rgb() & 0xFFFFFF);
    return count;
}

} // namespace kiv::test
