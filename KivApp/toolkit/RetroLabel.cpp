#include "toolkit/RetroLabel.h"

#include "toolkit/RetroPainting.h"

#include <QPainter>

namespace kiv {

RetroLabel::RetroLabel(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setTextInteractionFlags(Qt::NoTextInteraction);
}

QColor RetroLabel::textColor() const
{
    return palette().color(QPalette::WindowText);
}

void RetroLabel::setTextColor(const QColor& color)
{
    RetroPainting::setPaletteColor(*this, QPalette::WindowText, color);
}

void RetroLabel::setBackgroundColor(const std::optional<QColor>& color)
{
    if (color)
        RetroPainting::setPaletteColor(*this, QPalette::Window, *color);
    setAutoFillBackground(color.has_value());
}

QSize RetroLabel::minimumSizeHint() const
{
    return { 0, QLabel::minimumSizeHint().height() };
}

void RetroLabel::paintEvent(QPaintEvent*)
{
    // Drawn by hand: QLabel would elide or wrap in some styles, a character screen does neither.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font());
    painter.setPen(textColor());
    Qt::Alignment placement = alignment();
    if (!(placement & Qt::AlignVertical_Mask))
        placement |= Qt::AlignVCenter;
    painter.drawText(contentsRect(), static_cast<int>(placement | Qt::TextSingleLine), text());
}

} // namespace kiv
