#pragma once

#include "toolkit/RetroDialogStyle.h"

#include <QWidget>
#include <functional>

namespace kiv {

// A dialog button drawn as its bracketed caption ("[ OK ]") on the dialog's face, on cyan while it
// is highlighted: the one button Return presses. The pointer highlights nothing, so that a resting
// pointer never looks like the keyboard's choice. It takes no keyboard focus; a click counts only
// when released on it.
class RetroDialogButton : public QWidget
{
    Q_OBJECT
public:
    // The button's height in pixels.
    static constexpr int buttonHeight = 22;

    // Creates a button captioned `title`; a destructive one draws its caption red.
    RetroDialogButton(const QString& title, ButtonTone tone, QWidget* parent = nullptr);

    // Returns the font the caption is drawn in.
    static QFont captionFont();
    // Returns the caption as shown: the title in square brackets.
    QString label() const;
    // Returns the width the button needs: the caption's width rounded up, plus 14.
    int intrinsicWidth() const;
    // Returns whether the button is highlighted: it is the one Return presses.
    bool isHighlighted() const { return m_isHighlighted; }
    // Highlights the button or not, and repaints it.
    void setHighlighted(bool highlighted);

    // Called when a press on the button is released on it; may be unset.
    std::function<void()> onClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_title;
    ButtonTone m_tone;
    bool m_isHighlighted = false;
};

} // namespace kiv
