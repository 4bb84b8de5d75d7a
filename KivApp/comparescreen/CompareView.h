#pragma once

#include "compare/FileCompareJob.h"
#include "toolkit/LineScrollArea.h"

#include <cstddef>
#include <memory>
#include <optional>

namespace kiv {

// Two files side by side in the viewer's colours, a row of the comparison per line: each side's
// line number and text, the lines that differ in the marked colour and the place beside a line only
// one side has filled. It draws only the rows in sight, reading their lines from the files then,
// so files of millions of lines scroll at once. F7 and Shift+F7 go to the next and previous
// difference (the current one is marked by its row numbers), Left and Right scroll sideways.
class CompareView : public LineScrollArea
{
    Q_OBJECT
public:
    // Creates an empty view; it shows nothing until given a comparison.
    explicit CompareView(QWidget* parent = nullptr);

    // Shows `comparison` from its first row.
    void setComparison(std::shared_ptr<const FileCompareJob::Result> comparison);
    // Returns the comparison shown, or null.
    const FileCompareJob::Result* comparison() const { return m_comparison.get(); }

    // Goes to the next difference after the current one, or the previous before it; returns
    // whether there was one.
    bool goToDifference(bool forward);
    // Returns the first row of the current difference, nothing before F7 found one.
    std::optional<std::size_t> currentDifference() const { return m_current; }
    // Returns the number of the current difference, counted from 1, or 0 when none is current.
    std::size_t currentDifferenceNumber() const;

protected:
    std::int64_t lineCount() const override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void drawSide(QPainter& painter, const QRect& band, const LineIndex& file, std::optional<std::size_t> line,
        bool differs, bool current) const;
    QString shownLine(const LineIndex& file, std::size_t line) const;

    std::shared_ptr<const FileCompareJob::Result> m_comparison;
    std::optional<std::size_t> m_current;
    int m_firstColumn = 0; // the first character in sight, scrolled sideways
};

} // namespace kiv
