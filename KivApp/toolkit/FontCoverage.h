#pragma once

#include <QFont>
#include <QHash>
#include <QString>

namespace kiv {

// Which characters the installed fonts can draw for one font, each asked of the font system
// once: a character none of them has is drawn as a box instead of whatever glyph 0 looks like.
class FontCoverage
{
public:
    // Answers for `font`.
    explicit FontCoverage(const QFont& font);

    // Returns whether `character` (one user-perceived character) has a glyph in the font or a
    // fallback for it.
    bool canDraw(const QString& character) const;

private:
    QFont m_font;
    mutable QHash<QString, bool> m_drawable;
};

} // namespace kiv
