#pragma once

#include "panel/PanelRowText.h"

#include <QWidget>
#include <vector>

namespace kiv {

class PanelRowDelegate;

// The line of column titles over a panel's rows, bold in the header colour. Each title is placed
// by the cells of the rows' font, not its own, so it stands over its column at any panel width.
class PanelColumnTitles : public QWidget
{
    Q_OBJECT
public:
    // Creates the titles for rows drawn by `rows`, which must outlive them, and a 23-cell name column.
    explicit PanelColumnTitles(const PanelRowDelegate& rows, QWidget* parent = nullptr);

    // Places the titles over rows `width` pixels wide and repaints.
    void setRowWidth(int width);
    // Marks the title of the column `order` sorts by and repaints.
    void setSortOrder(SortOrder order);
    // Returns the titles as placed now.
    const std::vector<PanelRowText::Title>& titles() const { return m_titles; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PanelRowDelegate& m_rows;
    int m_nameWidth;
    SortOrder m_order;
    std::vector<PanelRowText::Title> m_titles;
};

} // namespace kiv
