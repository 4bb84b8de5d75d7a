#include "panels/PanelColumnTitles.h"

#include "panels/PanelRowDelegate.h"
#include "toolkit/RetroPainting.h"
#include "toolkit/Theme.h"

#include <QPainter>

namespace kiv {

namespace {

constexpr int originalNameWidth = 23;

} // namespace

PanelColumnTitles::PanelColumnTitles(const PanelRowDelegate& rows, QWidget* parent)
    : QWidget(parent)
    , m_rows(rows)
    , m_nameWidth(originalNameWidth)
    , m_titles(PanelRowText::columnTitles(m_nameWidth))
{
    setFont(Theme::monoFontBold());
}

void PanelColumnTitles::setRowWidth(int width)
{
    m_nameWidth = PanelRowText::nameWidth(m_rows.cellsAcross(width));
    m_titles = PanelRowText::columnTitles(m_nameWidth, m_order);
    update();
}

void PanelColumnTitles::setSortOrder(SortOrder order)
{
    m_order = order;
    m_titles = PanelRowText::columnTitles(m_nameWidth, m_order);
    update();
}

void PanelColumnTitles::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setPen(Theme::panelHeaderBG());
    const qreal cell = m_rows.cellWidth();
    for (const PanelRowText::Title& title : m_titles) {
        const QString text = QString::fromStdString(title.text);
        qreal x = PanelRowDelegate::textInset + title.firstCell * cell;
        if (title.side == CellText::Side::right)
            x = PanelRowDelegate::textInset + title.endCell * cell - RetroPainting::measure(text, font()).width();
        RetroPainting::drawLineCentred(painter, text, x, height());
    }
}

} // namespace kiv
