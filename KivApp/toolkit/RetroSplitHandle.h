#pragma once

#include <QSplitterHandle>

namespace kiv {

// The divider between the two file panels: a plain bar in the panel-header colour.
class RetroSplitHandle : public QSplitterHandle
{
    Q_OBJECT
public:
    // Creates the handle of `parent`, laid out in `orientation`.
    RetroSplitHandle(Qt::Orientation orientation, QSplitter* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kiv
