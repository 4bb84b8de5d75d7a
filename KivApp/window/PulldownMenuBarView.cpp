#include "window/PulldownMenuBarView.h"

#include "toolkit/RetroPainting.h"
#include "toolkit/Theme.h"

#include <QMouseEvent>
#include <QPainter>

namespace kiv {

namespace {

constexpr qreal firstTitleX = 8;
constexpr qreal titleGap = 4;

// Two blank cells either side, so each title reads like a menu on a text screen.
QString paddedLabel(const QString& title)
{
    return QStringLiteral("  ") + title + QStringLiteral("  ");
}

} // namespace

const QStringList& PulldownMenuBarView::titles()
{
    static const QStringList names { "Left", "Files", "Commands", "Options", "Right" };
    return names;
}

PulldownMenuBarView::PulldownMenuBarView(QWidget* parent)
    : QWidget(parent)
{
    setFont(Theme::monoFontBold(12));
    layoutTitles();
}

void PulldownMenuBarView::activateFirstItem()
{
    activate(0);
}

void PulldownMenuBarView::activate(int index)
{
    if (onActivate)
        onActivate(index, m_itemFrames[index]);
}

void PulldownMenuBarView::setIndicator(const QString& text)
{
    if (text == m_indicator)
        return;
    m_indicator = text;
    update();
}

void PulldownMenuBarView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        layoutTitles();
}

void PulldownMenuBarView::resizeEvent(QResizeEvent*)
{
    layoutTitles();
}

// Laid out here rather than while drawing, so F9 and clicks work before the first paint.
void PulldownMenuBarView::layoutTitles()
{
    m_itemFrames.clear();
    qreal x = firstTitleX;
    for (const QString& title : titles()) {
        const qreal labelWidth = RetroPainting::measure(paddedLabel(title), font()).width();
        m_itemFrames.append(QRectF(x, 0, labelWidth, height()));
        x += labelWidth + titleGap;
    }
}

void PulldownMenuBarView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect(), Theme::menuBarBackground());
    painter.setPen(Theme::menuBarText());
    for (int index = 0; index < m_itemFrames.size(); ++index)
        RetroPainting::drawLineCentred(
            painter, paddedLabel(titles()[index]), m_itemFrames[index].x(), height());
    if (!m_indicator.isEmpty()) {
        const QString shown = paddedLabel(m_indicator);
        const qreal shownWidth = RetroPainting::measure(shown, font()).width();
        const QRectF band(width() - firstTitleX - shownWidth, 0, shownWidth, height());
        painter.fillRect(band, Theme::menuHighlightBG());
        RetroPainting::drawLineCentred(painter, shown, band.x(), height());
    }
}

void PulldownMenuBarView::mousePressEvent(QMouseEvent* event)
{
    if (const std::optional<int> index = RetroPainting::indexOfFrameAt(m_itemFrames, event->position()))
        activate(*index);
}

} // namespace kiv
