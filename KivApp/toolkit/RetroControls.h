#pragma once

#include "toolkit/RetroLabel.h"
#include "toolkit/Theme.h"

namespace kiv::RetroControls {

// Returns a new RetroLabel showing `text`, owned by `parent` (or by the caller when null). The
// label draws its background only when `background` is not Qt::transparent; it never wraps or
// elides.
RetroLabel* label(const QString& text, const QFont& font = Theme::monoFont(),
    const QColor& color = Theme::panelText(), const QColor& background = Qt::transparent,
    Qt::Alignment alignment = Qt::AlignLeft, QWidget* parent = nullptr);

} // namespace kiv::RetroControls
