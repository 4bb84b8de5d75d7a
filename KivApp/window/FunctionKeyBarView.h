#pragma once

#include <QList>
#include <QRectF>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace kiv {

// The bar along the bottom of the main window showing what F1 to F10 do: ten equal cells, each a
// white key number on black and a black caption on a cyan field. Clicking a cell reports its key
// number; the bar takes no keyboard input.
class FunctionKeyBarView : public QWidget
{
    Q_OBJECT
public:
    // Returns the ten captions in key order, "Help" for F1 to "Quit" for F10.
    static const QStringList& labels();

    // Creates the bar with its cells laid out for its current size.
    explicit FunctionKeyBarView(QWidget* parent = nullptr);

    // Returns each cell's frame for the bar's current size, in key order.
    const QList<QRectF>& itemFrames() const { return m_itemFrames; }

    // Called with the key number (1 to 10) of a clicked cell; may be unset.
    std::function<void(int key)> onKeyTapped;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void layoutCells();
    void drawCell(QPainter& painter, int index, const QRectF& cell) const;

    QList<QRectF> m_itemFrames;
};

} // namespace kiv
