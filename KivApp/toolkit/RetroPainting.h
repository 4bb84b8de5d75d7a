#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <optional>

#include <QPalette>

class QFont;
class QPainter;
class QString;
class QWidget;

// Small drawing steps the retro views share.
namespace kiv::RetroPainting {

// Returns the size of `text` as one line in `font`: its advance width and the font's line height.
QSizeF measure(const QString& text, const QFont& font);

// Draws `text` as one unclipped line in the painter's font and pen with its top-left corner at
// `topLeft`; returns the size it took.
QSizeF drawLine(QPainter& painter, const QString& text, QPointF topLeft);

// Draws `text` as drawLine does, centred vertically in a band `bandHeight` high from y = 0;
// returns the size it took.
QSizeF drawLineCentred(QPainter& painter, const QString& text, qreal x, qreal bandHeight);

// Sets the colour of `role` in `widget`'s own palette, leaving its other colours as they are.
void setPaletteColor(QWidget& widget, QPalette::ColorRole role, const QColor& color);

// Returns the index of the first of `frames` containing `point`, or nothing.
std::optional<int> indexOfFrameAt(const QList<QRectF>& frames, QPointF point);

} // namespace kiv::RetroPainting
