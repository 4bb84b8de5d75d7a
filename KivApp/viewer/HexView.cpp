#include "viewer/HexView.h"

#include "files/HexPager.h"
#include "toolkit/Theme.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <climits>

namespace kiv {

namespace {

// The scroll bar's range stays well inside an int, whatever the file's size.
constexpr std::int64_t mostScrollSteps = INT_MAX / 2;
constexpr int leftMargin = 4;
// Where a line's hex bytes begin after its offset, and its characters after the bytes.
constexpr int gapAfterOffset = 2;
constexpr int hexColumnWidth = 48 + 2;

} // namespace

HexView::HexView(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFont(Theme::monoFont(12));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
}

HexView::~HexView() = default;

void HexView::setPager(std::unique_ptr<HexPager> pager)
{
    m_pager = std::move(pager);
    m_topLine = 0;
    m_markOffset = -1;
    updateScrollBar();
    viewport()->update();
    if (onScroll)
        onScroll();
}

int HexView::lineHeight() const
{
    return std::max(1, fontMetrics().lineSpacing());
}

std::int64_t HexView::linesInSight() const
{
    return std::max(1, viewport()->height() / lineHeight());
}

std::int64_t HexView::lastTopLine() const
{
    return m_pager ? std::max<std::int64_t>(m_pager->lineCount() - linesInSight(), 0) : 0;
}

void HexView::setTopLine(std::int64_t line)
{
    line = std::clamp<std::int64_t>(line, 0, lastTopLine());
    if (line == m_topLine)
        return;
    m_topLine = line;
    // The bar's own signal comes back through scrollContentsBy, which sees the line already set.
    verticalScrollBar()->setValue(int(m_topLine / m_linesPerStep));
    viewport()->update();
    if (onScroll)
        onScroll();
}

void HexView::updateScrollBar()
{
    const std::int64_t last = lastTopLine();
    m_linesPerStep = last / mostScrollSteps + 1;
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, int((last + m_linesPerStep - 1) / m_linesPerStep));
    bar->setPageStep(int(std::max<std::int64_t>(linesInSight() / m_linesPerStep, 1)));
    bar->setSingleStep(1);
    bar->setValue(int(m_topLine / m_linesPerStep));
}

// The bar moved by the user (a drag, a click, the wheel): its step becomes the line.
void HexView::scrollContentsBy(int, int)
{
    QScrollBar* bar = verticalScrollBar();
    if (bar->value() == int(m_topLine / m_linesPerStep))
        return;
    setTopLine(bar->value() == bar->maximum() ? lastTopLine() : bar->value() * m_linesPerStep);
}

void HexView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
    setTopLine(m_topLine);
}

void HexView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        setTopLine(m_topLine - 1);
        break;
    case Qt::Key_Down:
        setTopLine(m_topLine + 1);
        break;
    case Qt::Key_PageUp:
        setTopLine(m_topLine - linesInSight());
        break;
    case Qt::Key_PageDown:
        setTopLine(m_topLine + linesInSight());
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void HexView::markBytes(std::int64_t offset, std::int64_t length)
{
    m_markOffset = offset;
    m_markLength = length;
    const std::int64_t line = offset / HexPager::bytesPerLine;
    if (line < m_topLine || line >= m_topLine + linesInSight())
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
    const std::vector<std::string> lines = m_pager->lines(m_topLine, linesInSight() + 1);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const QString line = QString::fromLatin1(lines[index]);
        const int top = int(index) * lineHeight();
        painter.setPen(Theme::panelText());
        painter.drawText(leftMargin, top + ascent, line);
        drawMark(painter, line, (m_topLine + std::int64_t(index)) * HexPager::bytesPerLine, top);
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
