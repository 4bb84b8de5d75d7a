#pragma once

#include <QAbstractScrollArea>
#include <cstdint>
#include <functional>
#include <memory>

namespace kiv {

class HexPager;

// A file's hex dump as a scrolling view in the panels' colours: it draws only the lines in sight,
// asking its HexPager for them, so the scroll bar and the keys reach every line of a file of any
// size. Up, Down, PageUp and PageDown scroll; one byte range (a match found) can be marked.
class HexView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    // Creates an empty view; it shows nothing until given a pager.
    explicit HexView(QWidget* parent = nullptr);
    ~HexView() override;

    // Shows the dump of `pager`'s file from its first line, replacing the one shown; may be null.
    void setPager(std::unique_ptr<HexPager> pager);
    // Returns the pager shown, or null.
    HexPager* pager() const { return m_pager.get(); }

    // Returns the index of the first line in sight.
    std::int64_t topLine() const { return m_topLine; }
    // Returns the highest first line: the one that brings the file's last line to the bottom.
    std::int64_t lastTopLine() const;
    // Scrolls so that `line` (clamped to 0..lastTopLine()) is the first in sight.
    void setTopLine(std::int64_t line);
    // Returns how many whole lines the view shows.
    std::int64_t linesInSight() const;

    // Marks `length` bytes from `offset` and scrolls their first line into sight when it is not.
    void markBytes(std::int64_t offset, std::int64_t length);
    // Returns the offset of the marked bytes, or -1 when none are marked.
    std::int64_t markOffset() const { return m_markOffset; }

    // Called whenever the first line in sight changes; may be unset.
    std::function<void()> onScroll;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void updateScrollBar();
    int lineHeight() const;
    void drawMark(QPainter& painter, const QString& line, std::int64_t lineOffset, int top) const;

    std::unique_ptr<HexPager> m_pager;
    std::int64_t m_topLine = 0;
    // A scroll bar counts in ints: past that many lines, one of its steps is several lines.
    std::int64_t m_linesPerStep = 1;
    std::int64_t m_markOffset = -1;
    std::int64_t m_markLength = 0;
};

} // namespace kiv
