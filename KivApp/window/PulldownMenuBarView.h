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

    // Creates the bar in its font, bold 12 pixels, with the titles laid out for its current size.
    explicit PulldownMenuBarView(QWidget* parent = nullptr);

    // Shows `text` at the bar's right end (the running jobs), or nothing when it is empty.
    void setIndicator(const QString& text);
    // Returns the text shown at the right end.
    const QString& indicator() const { return m_indicator; }

    // Reports the first title and its frame through onActivate.
    void activateFirstItem();
    // Returns each title's frame for the current font and size: the padded label's width in the
    // bar's font, the bar's height.
    const QList<QRectF>& itemFrames() const { return m_itemFrames; }

    // Called with a title's index and frame when it is clicked or activated; may be unset.
    std::function<void(int index, QRectF frame)> onActivate;

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void layoutTitles();
    void activate(int index);

    QList<QRectF> m_itemFrames;
    QString m_indicator;
};

} // namespace kiv
