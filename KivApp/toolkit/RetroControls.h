#pragma once

#include "toolkit/RetroLabel.h"
#include "toolkit/Theme.h"

#include <optional>

class QLineEdit;

namespace kiv::RetroControls {

// Returns a new RetroLabel showing `text`, owned by `parent` (or by the caller when null). The
// label fills its background only when given a `background`; it never wraps or elides.
RetroLabel* label(const QString& text, const QFont& font = Theme::monoFont(),
    const QColor& color = Theme::panelText(), const std::optional<QColor>& background = std::nullopt,
    Qt::Alignment alignment = Qt::AlignLeft, QWidget* parent = nullptr);

// Returns a new input field holding `text` in the dialogs' colours, without a frame of its own
// (a dialog draws its square edge), owned by `parent`.
QLineEdit* field(const QString& text, QWidget* parent);

} // namespace kiv::RetroControls
