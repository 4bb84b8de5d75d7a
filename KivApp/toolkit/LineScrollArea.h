#pragma once

#include <QAbstractScrollArea>
#include <cstdint>
#include <functional>

namespace kiv {

// A scrolling view of numbered lines that draws only those in sight: it keeps the first line in
// sight, a scroll bar whose steps stay inside an int whatever the number of lines, and the keys
// Up, Down, PageUp and PageDown. A subclass says how many lines there are and paints them.
class LineScrollArea : public QAbstractScrollArea
{
    Q_OBJECT
public:
    // Creates the view at its first line, in the house's fixed-pitch font.
    explicit LineScrollArea(QWidget* parent = nullptr);

    // Returns the index of the first line in sight.
    std::int64_t topLine() const { return m_topLine; }
    // Returns the highest first line: the one that brings the last line to the bottom.
    std::int64_t lastTopLine() const;
    // Scrolls so that `line` (clamped to 0..lastTopLine()) is the first in sight.
    void setTopLine(std::int64_t line);
    // Returns how many whole lines the view shows.
    std::int64_t linesInSight() const;

    // Called whenever the first line in sight changes; may be unset.
    std::function<void()> onScroll;

protected:
    // Returns how many lines there are to show.
    virtual std::int64_t lineCount() const = 0;
    // Goes back to the first line after the lines have been replaced.
    void restart();
    // Returns the height of one line, in pixels.
    int lineHeight() const;

    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void updateScrollBar();

    std::int64_t m_topLine = 0;
    // A scroll bar counts in ints: past that many lines, one of its steps is several lines.
    std::int64_t m_linesPerStep = 1;
};

} // namespace kiv
