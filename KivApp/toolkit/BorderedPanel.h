#pragma once

#include <QColor>
#include <QWidget>

namespace kiv {

// A rectangle filled with one colour and outlined by a one-pixel border in another on its
// outermost pixel row and column; the frame of each file panel.
class BorderedPanel : public QWidget
{
    Q_OBJECT
public:
    // Creates a panel filled with Theme::panelBackground() and bordered in Theme::panelHeaderBG().
    explicit BorderedPanel(QWidget* parent = nullptr);

    // Returns the fill colour.
    const QColor& fillColor() const { return m_fillColor; }
    // Sets the fill colour; it shows at the next repaint (no repaint is requested).
    void setFillColor(const QColor& color) { m_fillColor = color; }
    // Returns the border colour.
    const QColor& borderColor() const { return m_borderColor; }
    // Sets the border colour; it shows at the next repaint (no repaint is requested).
    void setBorderColor(const QColor& color) { m_borderColor = color; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fillColor;
    QColor m_borderColor;
};

} // namespace kiv
