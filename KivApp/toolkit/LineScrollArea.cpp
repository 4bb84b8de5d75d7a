#include "toolkit/LineScrollArea.h"

#include "toolkit/Theme.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>
#include <climits>

namespace kiv {

namespace {

// The scroll bar's range stays well inside an int, whatever the number of lines.
constexpr std::int64_t mostScrollSteps = INT_MAX / 2;

} // namespace

LineScrollArea::LineScrollArea(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFont(Theme::monoFont(12));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
}

void LineScrollArea::restart()
{
    m_topLine = 0;
    updateScrollBar();
    viewport()->update();
    if (onScroll)
        onScroll();
}

int LineScrollArea::lineHeight() const
{
    return std::max(1, fontMetrics().lineSpacing());
}

std::int64_t LineScrollArea::linesInSight() const
{
    return std::max(1, viewport()->height() / lineHeight());
}

std::int64_t LineScrollArea::lastTopLine() const
{
    return std::max<std::int64_t>(lineCount() - linesInSight(), 0);
}

void LineScrollArea::setTopLine(std::int64_t line)
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

void LineScrollArea::updateScrollBar()
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
void LineScrollArea::scrollContentsBy(int, int)
{
    QScrollBar* bar = verticalScrollBar();
    if (bar->value() == int(m_topLine / m_linesPerStep))
        return;
    setTopLine(bar->value() == bar->maximum() ? lastTopLine() : bar->value() * m_linesPerStep);
}

void LineScrollArea::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
    setTopLine(m_topLine);
}

void LineScrollArea::keyPressEvent(QKeyEvent* event)
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

} // namespace kiv
