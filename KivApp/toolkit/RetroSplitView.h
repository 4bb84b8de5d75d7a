#pragma once

#include <QSplitter>

namespace kiv {

// The side-by-side split between the two file panels, with a 2-pixel divider in the
// panel-header colour. The user may drag the divider; every resize of the split view makes
// two panes equally wide again.
class RetroSplitView : public QSplitter
{
    Q_OBJECT
public:
    // The width of the divider in pixels.
    static constexpr int dividerThickness = 2;

    // Creates an empty horizontal split (panes side by side) on the panel background.
    explicit RetroSplitView(QWidget* parent = nullptr);

    // With exactly two panes, gives each half of the width left beside the divider (the right
    // one takes the odd pixel; both get 0 when the split is narrower than the divider); with any
    // other number of panes does nothing.
    void equalizePanes();

protected:
    QSplitterHandle* createHandle() override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kiv
