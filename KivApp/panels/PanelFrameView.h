#pragma once

#include "toolkit/BorderedPanel.h"

#include <QPointer>
#include <QString>

namespace kiv {

class PanelColumnTitles;
class PanelRowDelegate;
class PanelTableView;
class RetroLabel;

// The frame of one file panel: a bordered box holding, from the top, an optional row (the tabs'
// titles), the location line, the column titles, the list in whole rows and the status line; a
// cover (the editor) can lie over all of it. Lays them out whenever its size, or whether the top
// row shows, changes. Shows what it is given and decides nothing.
class PanelFrameView : public BorderedPanel
{
    Q_OBJECT
public:
    // Makes the frame with its list, whose rows and column titles `rows` draws.
    explicit PanelFrameView(const PanelRowDelegate& rows);

    // Returns the list of rows and the column titles above it, which belong to the frame.
    PanelTableView* list() const { return m_list; }
    PanelColumnTitles* titles() const { return m_titles; }

    // Shows `path` centred in the location line.
    void setPath(const QString& path);
    // Shows `text` in the status line.
    void setStatus(const QString& text);
    // Puts `row` (owned by the frame from now on) along the top, the other lines moving down to
    // make room for it whenever it is not hidden.
    void setTopRow(QWidget* row);
    // Lays `cover` (a child of the frame) over the whole frame, or no cover when null.
    void setCover(QWidget* cover);
    // Returns where a menu about the list hangs: its top left corner, a little indented.
    QPoint listCorner() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layoutChildren();

    RetroLabel* m_pathLabel;
    RetroLabel* m_statusLabel;
    PanelTableView* m_list;
    PanelColumnTitles* m_titles;
    QPointer<QWidget> m_topRow;
    QPointer<QWidget> m_cover;
};

} // namespace kiv
