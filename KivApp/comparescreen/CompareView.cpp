#include "comparescreen/CompareView.h"

#include "toolkit/ShownText.h"
#include "toolkit/Theme.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

namespace kiv {

namespace {

constexpr int margin = 4;
constexpr int dividerWidth = 2;
constexpr int tabWidth = 8;
// Rows kept above a difference brought into sight, so it is read with what leads to it.
constexpr std::int64_t contextAbove = 2;
constexpr int sidewaysStep = 8;
// Bytes read of one line at most: far more than any window shows.
constexpr std::size_t longestShown = 4096;

int digitsOf(std::size_t count)
{
    return int(QString::number(qulonglong(std::max<std::size_t>(count, 1))).size());
}

QString expandedTabs(const QString& text)
{
    QString shown;
    for (const QChar character : text) {
        if (character == u'\t')
            shown += QString(tabWidth - shown.size() % tabWidth, u' ');
        else if (character != u'\r')
            shown += character;
    }
    return shown;
}

} // namespace

CompareView::CompareView(QWidget* parent)
    : LineScrollArea(parent)
{
}

void CompareView::setComparison(std::shared_ptr<const FileCompareJob::Result> comparison)
{
    m_comparison = std::move(comparison);
    m_current.reset();
    m_firstColumn = 0;
    restart();
}

std::int64_t CompareView::lineCount() const
{
    return m_comparison ? std::int64_t(m_comparison->rows.rowCount()) : 0;
}

std::size_t CompareView::currentDifferenceNumber() const
{
    return m_current ? m_comparison->rows.differencesBefore(*m_current) + 1 : 0;
}

bool CompareView::goToDifference(bool forward)
{
    if (!m_comparison)
        return false;
    const SideBySide& rows = m_comparison->rows;
    // Before any difference is current, the search starts from the rows in sight.
    const std::size_t top = std::size_t(topLine());
    std::optional<std::size_t> found;
    if (forward)
        found = m_current ? rows.nextDifference(*m_current)
                          : (rows.previousDifference(top + 1) == top ? top : rows.nextDifference(top));
    else
        found = rows.previousDifference(m_current ? *m_current : top);
    if (!found)
        return false;
    m_current = found;
    const std::int64_t row = std::int64_t(*found);
    if (row < topLine() || row >= topLine() + linesInSight())
        setTopLine(row - contextAbove);
    viewport()->update();
    if (onScroll)
        onScroll();
    return true;
}

void CompareView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_F7:
        goToDifference(!(event->modifiers() & Qt::ShiftModifier));
        break;
    case Qt::Key_Left:
        m_firstColumn = std::max(0, m_firstColumn - sidewaysStep);
        viewport()->update();
        break;
    case Qt::Key_Right:
        m_firstColumn += sidewaysStep;
        viewport()->update();
        break;
    case Qt::Key_Home:
        setTopLine(0);
        break;
    case Qt::Key_End:
        setTopLine(lastTopLine());
        break;
    default:
        LineScrollArea::keyPressEvent(event);
    }
}

QString CompareView::shownLine(const LineIndex& file, std::size_t line) const
{
    return expandedTabs(ShownText::of(file.text(line, longestShown))).mid(m_firstColumn);
}

void CompareView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Theme::panelBackground());
    if (!m_comparison)
        return;
    painter.setFont(font());
    const SideBySide& rows = m_comparison->rows;
    const int half = (viewport()->width() - dividerWidth) / 2;
    const std::size_t end = std::min<std::size_t>(rows.rowCount(), std::size_t(topLine() + linesInSight() + 1));
    for (std::size_t index = std::size_t(topLine()); index < end; ++index) {
        const SideBySide::Row row = rows.row(index);
        const bool differs = row.kind != SideBySide::Row::Kind::same;
        const bool current = differs && m_current && rows.previousDifference(index + 1) == m_current;
        const int top = int(index - std::size_t(topLine())) * lineHeight();
        drawSide(painter, QRect(0, top, half, lineHeight()), m_comparison->left, row.left, differs, current);
        drawSide(painter, QRect(half + dividerWidth, top, half, lineHeight()), m_comparison->right, row.right,
            differs, current);
    }
    painter.fillRect(QRect(half, 0, dividerWidth, viewport()->height()), Theme::panelHeaderBG());
}

// One side of a row: the line's number, then its text; a side without a line is filled.
void CompareView::drawSide(QPainter& painter, const QRect& band, const LineIndex& file,
    std::optional<std::size_t> line, bool differs, bool current) const
{
    if (!line) {
        painter.fillRect(band, Theme::inactiveCursorBG());
        return;
    }
    painter.save();
    painter.setClipRect(band);
    const int cell = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const int digits = digitsOf(file.lineCount());
    const QRect number(band.left(), band.top(), (digits + 1) * cell + margin, band.height());
    if (current)
        painter.fillRect(number, Theme::cursorBackground());
    const int baseline = band.top() + fontMetrics().ascent();
    painter.setPen(current ? Theme::cursorText() : Theme::panelHeaderBG());
    painter.drawText(band.left() + margin, baseline, QString::number(*line + 1).rightJustified(digits));
    painter.setPen(differs ? Theme::panelMarked() : Theme::panelText());
    painter.drawText(number.right() + cell, baseline, shownLine(file, *line));
    painter.restore();
}

} // namespace kiv
