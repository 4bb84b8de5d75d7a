#pragma once

#include "toolkit/LineScrollArea.h"

#include <cstdint>
#include <memory>

namespace kiv {

class HexPager;

// A file's hex dump as a scrolling view in the panels' colours: it draws only the lines in sight,
// asking its HexPager for them, so the scroll bar and the keys reach every line of a file of any
// size. Up, Down, PageUp and PageDown scroll; one byte range (a match found) can be marked.
class HexView : public LineScrollArea
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

    // Marks `length` bytes from `offset` and scrolls their first line into sight when it is not.
    void markBytes(std::int64_t offset, std::int64_t length);
    // Returns the offset of the marked bytes, or -1 when none are marked.
    std::int64_t markOffset() const { return m_markOffset; }

protected:
    std::int64_t lineCount() const override;
    void paintEvent(QPaintEvent* event) override;

private:
    void drawMark(QPainter& painter, const QString& line, std::int64_t lineOffset, int top) const;

    std::unique_ptr<HexPager> m_pager;
    std::int64_t m_markOffset = -1;
    std::int64_t m_markLength = 0;
};

} // namespace kiv
