#include "window/PulldownMenuBarView.h"

#include "toolkit/RetroPainting.h"
#include "toolkit/Theme.h"

#include <QMouseEvent>
#include <QPainter>

namespace kiv {

namespace {

constexpr qreal firstTitleX = 8;
constexpr qreal titleGap = 4;

} // namespace

const QStringList& PulldownMenuBarView::titles()
{
    static const QStringList names { "Left", "Files", "Commands", "Options", "Right" };
    return names;
}

PulldownMenuBarView::PulldownMenuBarView(QWidget* parent)
    : QWidget(parent)
{
}

void PulldownMenuBarView::activateFirstItem()
{
    if (!m_itemFrames.isEmpty()) activate(0);
}

void PulldownMenuBarView::activate(int index)
{
    if (onActivate) onActivate(index, m_itemFrames[index]);
}

void PulldownMenuBarView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect(), Theme::menuBarBackground());
    painter.setFont(Theme::monoFontBold(12));
    painter.setPen(Theme::menuBarText());
    m_itemFrames.clear();
    qreal x = firstTitleX;
    for (const QString& title : titles()) {
        // Two blank cells either side, so each title reads like a menu on a text screen.
        const QString label = QStringLiteral("  ") + title + QStringLiteral("  ");
        const qreal labelWidth = RetroPainting::drawLineCentred(painter, label, x, height()).width();
        m_itemFrames.append(QRectF(x, 0, labelWidth, height()));
        x += labelWidth + titleGap;
    }
}

void PulldownMenuBarView::mousePressEvent(QMouseEvent* event)
{
    if (const std::optional<int> index = RetroPainting::indexOfFrameAt(m_itemFrames, event->position()))
        activate(*index);
}

} // namespace kiv
