#include "toolkit/DOSColor.h"

namespace kiv::DOSColor {

// The components are the palette's decimal levels 0.33 and 0.67 as written, not thirds.
#define KIV_DOS_COLOR(name, r, g, b)                                                                         \
    const QColor& name()                                                                                     \
    {                                                                                                        \
        static const QColor color = QColor::fromRgbF(r, g, b, 1.0f);                                         \
        return color;                                                                                        \
    }

KIV_DOS_COLOR(black, 0.0f, 0.0f, 0.0f)
KIV_DOS_COLOR(blue, 0.0f, 0.0f, 0.67f)
KIV_DOS_COLOR(cyan, 0.0f, 0.67f, 0.67f)
KIV_DOS_COLOR(red, 0.67f, 0.0f, 0.0f)
KIV_DOS_COLOR(lightGray, 0.67f, 0.67f, 0.67f)
KIV_DOS_COLOR(darkGray, 0.33f, 0.33f, 0.33f)
KIV_DOS_COLOR(lightMagenta, 1.0f, 0.33f, 1.0f)
KIV_DOS_COLOR(yellow, 1.0f, 1.0f, 0.33f)
KIV_DOS_COLOR(white, 1.0f, 1.0f, 1.0f)

#undef KIV_DOS_COLOR

} // namespace kiv::DOSColor
