#pragma once

#include <QLabel>

namespace kiv {

// A read-only one-line label drawn like a character screen: no antialiasing, and text that
// does not fit is cut at the label's edge, never wrapped or elided. Its text colour is the
// palette's WindowText; it draws a background (the palette's Window) only when asked to.
class RetroLabel : public QLabel
{
    Q_OBJECT
public:
    // Creates an empty label without background.
    explicit RetroLabel(QWidget* parent = nullptr);

    // Returns the colour the text is drawn in.
    QColor textColor() const;
    // Sets the colour the text is drawn in and repaints.
    void setTextColor(const QColor& color);

    // Returns whether the label fills its background.
    bool drawsBackground() const { return autoFillBackground(); }
    // Returns the colour the background is filled with when drawsBackground() is on.
    QColor backgroundColor() const;
    // Sets the background colour; the label draws it exactly when `color` is not Qt::transparent.
    void setBackgroundColor(const QColor& color);

    // Returns a size whose width is 0, so a layout may cut the label instead of growing.
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kiv
