#pragma once

#include <QList>
#include <QRectF>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace kiv {

// The light-grey bar across the top of the main window naming the five pulldown menus. It only
// draws the titles and reports which one was clicked; opening the menus is its owner's job.
class PulldownMenuBarView : public QWidget
{
    Q_OBJECT
public:
    // Returns the five titles in order: "Left", "Files", "Commands", "Options", "Right".
    static const QStringList& titles();

    // Creates the bar; it has no title frames until it has been drawn once.
    explicit PulldownMenuBarView(QWidget* parent = nullptr);

    // Reports the first title and its frame through onActivate; does nothing before the first
    // drawing.
    void activateFirstItem();
    // Returns each title's frame from the last drawing: the padded label's width, the bar's height.
    const QList<QRectF>& itemFrames() const { return m_itemFrames; }

    // Called with a title's index and frame when it is clicked or activated; may be unset.
    std::function<void(int index, QRectF frame)> onActivate;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void activate(int index);

    QList<QRectF> m_itemFrames;
};

} // namespace kiv
