#pragma once

#include <QColor>

// The colours of a DOS text screen that the theme uses. Each function returns one shared colour,
// created on first use and never changed.
namespace kiv::DOSColor {

// Returns the shared black (0, 0, 0).
const QColor& black();
// Returns the shared blue (0, 0, 0.67).
const QColor& blue();
// Returns the shared cyan (0, 0.67, 0.67).
const QColor& cyan();
// Returns the shared red (0.67, 0, 0).
const QColor& red();
// Returns the shared light grey (0.67, 0.67, 0.67).
const QColor& lightGray();
// Returns the shared dark grey (0.33, 0.33, 0.33).
const QColor& darkGray();
// Returns the shared light magenta (1, 0.33, 1).
const QColor& lightMagenta();
// Returns the shared yellow (1, 1, 0.33).
const QColor& yellow();
// Returns the shared white (1, 1, 1).
const QColor& white();

} // namespace kiv::DOSColor
