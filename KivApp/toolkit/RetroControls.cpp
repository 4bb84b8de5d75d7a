#include "toolkit/RetroControls.h"

#include "toolkit/RetroPainting.h"

#include <QLineEdit>

namespace kiv::RetroControls {

RetroLabel* label(const QString& text, const QFont& font, const QColor& color,
    const std::optional<QColor>& background, Qt::Alignment alignment, QWidget* parent)
{
    auto* made = new RetroLabel(parent);
    made->setText(text);
    made->setFont(font);
    made->setTextColor(color);
    made->setAlignment(alignment);
    made->setBackgroundColor(background);
    return made;
}

QLineEdit* field(const QString& text, QWidget* parent)
{
    auto* made = new QLineEdit(text, parent);
    made->setFont(Theme::monoFont(13));
    RetroPainting::setPaletteColor(*made, QPalette::Text, Theme::dialogText());
    RetroPainting::setPaletteColor(*made, QPalette::Base, Theme::dialogFieldBackground());
    RetroPainting::setPaletteColor(*made, QPalette::Highlight, Theme::cursorBackground());
    RetroPainting::setPaletteColor(*made, QPalette::HighlightedText, Theme::cursorText());
    // A plain field: the square edge is the dialog's own drawing, with no style's frame or focus ring.
    made->setFrame(false);
    made->setTextMargins(3, 0, 3, 0);
    return made;
}

} // namespace kiv::RetroControls
