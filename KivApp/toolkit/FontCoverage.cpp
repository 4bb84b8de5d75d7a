#include "toolkit/FontCoverage.h"

#include <QGlyphRun>
#include <QTextLayout>

namespace kiv {

FontCoverage::FontCoverage(const QFont& font)
    : m_font(font)
{
}

bool FontCoverage::canDraw(const QString& character) const
{
    const auto known = m_drawable.constFind(character);
    if (known != m_drawable.constEnd())
        return *known;
    QTextLayout layout(character, m_font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    bool drawable = true;
    for (const QGlyphRun& run : layout.glyphRuns())
        drawable = drawable && !run.glyphIndexes().contains(0);
    m_drawable.insert(character, drawable);
    return drawable;
}

} // namespace kiv
