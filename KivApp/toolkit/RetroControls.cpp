#include "toolkit/RetroControls.h"

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

} // namespace kiv::RetroControls
