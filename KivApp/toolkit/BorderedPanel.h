#pragma once

#include <QWidget>

namespace kiv {

// A rectangle filled with the panels' background and outlined by a one-pixel border in the header
// colour on its outermost pixel row and column; the frame of each file panel.
class BorderedPanel : public QWidget
{
    Q_OBJECT
public:
    // Creates a panel filled with Theme::panelBackground() and bordered in Theme::panelHeaderBG().
    explicit BorderedPanel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kiv
