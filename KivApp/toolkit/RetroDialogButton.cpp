#include "toolkit/RetroDialogButton.h"

#include "toolkit/Theme.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace kiv {

RetroDialogButton::RetroDialogButton(const QString& title, ButtonTone tone, QWidget* parent)
    : QWidget(parent)
    , m_title(title)
    , m_tone(tone)
{
    setFocusPolicy(Qt::NoFocus);
}

QFont RetroDialogButton::captionFont()
{
    return Theme::monoFontBold(12);
}

QString RetroDialogButton::label() const
{
    return QStringLiteral("[ ") + m_title + QStringLiteral(" ]");
}

int RetroDialogButton::intrinsicWidth() const
{
    return static_cast<int>(std::ceil(QFontMetricsF(captionFont()).horizontalAdvance(label()))) + 14;
}

void RetroDialogButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (m_isHighlighted)
        painter.fillRect(rect(), Theme::menuHighlightBG());
    painter.setFont(captionFont());
    painter.setPen(m_tone == ButtonTone::destructive ? Theme::destructiveButtonText() : Theme::dialogText());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, label());
}

void RetroDialogButton::mousePressEvent(QMouseEvent* event)
{
    // Taken here so the press does not reach the dialog; only the release decides.
    event->accept();
}

void RetroDialogButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick)
        onClick();
}

void RetroDialogButton::setHighlighted(bool highlighted)
{
    if (m_isHighlighted == highlighted)
        return;
    m_isHighlighted = highlighted;
    update();
}

} // namespace kiv
