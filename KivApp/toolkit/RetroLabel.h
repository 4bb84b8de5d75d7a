#pragma once

#include <QLabel>
#include <optional>

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
    // Sets the colour the background is filled with, or leaves it unfilled when there is none.
    void setBackgroundColor(const std::optional<QColor>& color);

    // Returns a size whose width is 0, so a layout may cut the label instead of growing.
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kiv
