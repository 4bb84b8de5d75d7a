#pragma once

#include <QWidget>
#include <string>
#include <vector>

namespace kiv {

// The row of a panel's tab titles, drawn in the column titles' colours over the panel's lines, the
// shown tab in the cursor's colours; a title longer than its room ends in the cut marker, and the
// titles before the shown one give way when they would push it out of sight.
class PanelTabRow : public QWidget
{
    Q_OBJECT
public:
    // The row's height in pixels.
    static constexpr int rowHeight = 16;
    // The most cells one title takes.
    static constexpr int titleCells = 16;

    // Creates an empty row.
    explicit PanelTabRow(QWidget* parent = nullptr);

    // Shows `titles` with the one at `shown` highlighted, and repaints.
    void setTitles(std::vector<std::string> titles, std::size_t shown);
    // Returns the titles shown.
    const std::vector<std::string>& titles() const { return m_titles; }
    // Returns the index of the highlighted title.
    std::size_t shownIndex() const { return m_shown; }
    // Returns the index of the first title drawn in a row `rowCells` cells wide: the first one
    // when all up to the highlighted one fit, else the one that keeps the highlighted one in sight.
    std::size_t firstInSight(int rowCells) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<std::string> m_titles;
    std::size_t m_shown = 0;
};

} // namespace kiv
