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

QColor RetroLabel::backgroundColor() const
{
    return palette().color(QPalette::Window);
}

void RetroLabel::setBackgroundColor(const QColor& color)
{
    RetroPainting::setPaletteColor(*this, QPalette::Window, color);
    setAutoFillBackground(color != QColor(Qt::transparent));
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
    if (!(placement & Qt::AlignVertical_Mask)) placement |= Qt::AlignVCenter;
    painter.drawText(contentsRect(), static_cast<int>(placement | Qt::TextSingleLine), text());
}

} // namespace kiv
