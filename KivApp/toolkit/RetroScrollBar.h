#pragma once

#include <QScrollBar>

namespace kiv {

// A vertical scroll bar drawn as on a character screen: a solid track, an arrow at each end and a
// block where the view stands. Clicks and drags act as on Qt's own scroll bar, on the same places.
class RetroScrollBar : public QScrollBar
{
    Q_OBJECT
public:
    // The bar's width in pixels.
    static constexpr int thickness = 10;

    // Creates a vertical bar.
    explicit RetroScrollBar(QWidget* parent = nullptr);

    // Returns the bar's size: thickness wide, as high as Qt's own bar would be.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kiv
