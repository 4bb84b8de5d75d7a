#include "viewer/HexView.h"

#include "files/HexPager.h"
#include "toolkit/Theme.h"

#include <QPainter>
#include <algorithm>

namespace kiv {

namespace {

constexpr int leftMargin = 4;
// Where a line's hex bytes begin after its offset, and its characters after the bytes.
constexpr int gapAfterOffset = 2;
constexpr int hexColumnWidth = 48 + 2;

} // namespace

HexView::HexView(QWidget* parent)
    : LineScrollArea(parent)
{
}

HexView::~HexView() = default;

void HexView::setPager(std::unique_ptr<HexPager> pager)
{
    m_pager = std::move(pager);
    m_markOffset = -1;
    restart();
}

std::int64_t HexView::lineCount() const
{
    return m_pager ? m_pager->lineCount() : 0;
}

void HexView::markBytes(std::int64_t offset, std::int64_t length)
{
    m_markOffset = offset;
    m_markLength = length;
    const std::int64_t line = offset / HexPager::bytesPerLine;
    if (line < topLine() || line >= topLine() + linesInSight())
        setTopLine(line);
    viewport()->update();
}

void HexView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Theme::panelBackground());
    if (!m_pager)
        return;
    painter.setFont(font());
    const int ascent = fontMetrics().ascent();
    const std::vector<std::string> lines = m_pager->lines(topLine(), linesInSight() + 1);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const QString line = QString::fromLatin1(lines[index]);
        const int top = int(index) * lineHeight();
        painter.setPen(Theme::panelText());
        painter.drawText(leftMargin, top + ascent, line);
        drawMark(painter, line, (topLine() + std::int64_t(index)) * HexPager::bytesPerLine, top);
    }
}

// The marked bytes of one line, in both columns, in the cursor's colours.
void HexView::drawMark(QPainter& painter, const QString& line, std::int64_t lineOffset, int top) const
{
    const std::int64_t first = std::max(m_markOffset, lineOffset);
    const std::int64_t end = std::min(m_markOffset + m_markLength, lineOffset + HexPager::bytesPerLine);
    if (m_markOffset < 0 || first >= end)
        return;
    const int cell = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const int hexStart = int(line.indexOf(QLatin1Char(' '))) + gapAfterOffset;
    const int ascent = fontMetrics().ascent();
    for (std::int64_t offset = first; offset < end; ++offset) {
        const int byte = int(offset - lineOffset);
        for (const auto& [column, width] :
            { std::pair { hexStart + 3 * byte, 2 }, std::pair { hexStart + hexColumnWidth + byte, 1 } }) {
            const QRect box(leftMargin + column * cell, top, width * cell, lineHeight());
            painter.fillRect(box, Theme::cursorBackground());
            painter.setPen(Theme::cursorText());
            painter.drawText(box.left(), top + ascent, line.mid(column, width));
        }
    }
}

} // namespace kiv
