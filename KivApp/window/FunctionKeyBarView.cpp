#include "window/FunctionKeyBarView.h"

#include "toolkit/RetroPainting.h"
#include "toolkit/Theme.h"

#include <QMouseEvent>
#include <QPainter>

namespace kiv {

namespace {

constexpr qreal gap = 2;
constexpr qreal keyBarFontSize = 11;

} // namespace

const QStringList& FunctionKeyBarView::labels()
{
    static const QStringList captions { "Help", "Menu", "View", "Edit", "Copy", "RenMov", "MkDir", "Delete",
        "PullDn", "Quit" };
    return captions;
}

FunctionKeyBarView::FunctionKeyBarView(QWidget* parent)
    : QWidget(parent)
{
    layoutCells();
}

void FunctionKeyBarView::resizeEvent(QResizeEvent*)
{
    layoutCells();
}

// Laid out here rather than while drawing, so a click is understood before the first paint.
void FunctionKeyBarView::layoutCells()
{
    // Not rounded: the ten cells always add up to the whole width.
    const qreal cellWidth = width() / qreal(labels().size());
    m_itemFrames.clear();
    for (int index = 0; index < labels().size(); ++index)
        m_itemFrames.append(QRectF(index * cellWidth, 0, cellWidth, height()));
}

void FunctionKeyBarView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect(), Theme::funcKeyBarBackground());
    for (int index = 0; index < m_itemFrames.size(); ++index)
        drawCell(painter, index, m_itemFrames[index]);
}

void FunctionKeyBarView::drawCell(QPainter& painter, int index, const QRectF& cell) const
{
    painter.setFont(Theme::monoFontBold(keyBarFontSize));
    painter.setPen(Theme::funcKeyNumber());
    const qreal numberWidth
        = RetroPainting::drawLineCentred(painter, QString::number(index + 1), cell.x() + gap, cell.height())
              .width();
    const QRectF field(
        cell.x() + gap + numberWidth + gap, 0, cell.width() - numberWidth - 2 * gap, cell.height());
    painter.fillRect(field, Theme::funcKeyLabelBG());
    painter.setFont(Theme::monoFont(keyBarFontSize));
    painter.setPen(Theme::funcKeyLabelText());
    // The caption is not clipped: in a very narrow window it runs over the next cell.
    RetroPainting::drawLineCentred(painter, labels()[index], field.x() + gap, cell.height());
}

void FunctionKeyBarView::mousePressEvent(QMouseEvent* event)
{
    const std::optional<int> index = RetroPainting::indexOfFrameAt(m_itemFrames, event->position());
    if (index && onKeyTapped)
        onKeyTapped(*index + 1);
}

} // namespace kiv
