#include "panels/PanelFrameView.h"

#include "panels/PanelColumnTitles.h"
#include "panels/PanelTableView.h"
#include "toolkit/RetroControls.h"
#include "toolkit/RetroLabel.h"
#include "toolkit/Theme.h"

#include <QEvent>

namespace kiv {

namespace {

constexpr int pathHeight = 18;
constexpr int headerHeight = 16;
constexpr int panelStatusHeight = 16;
constexpr qreal panelStatusFontSize = 11;
constexpr int menuIndent = 8;

} // namespace

PanelFrameView::PanelFrameView(const PanelRowDelegate& rows)
    : m_pathLabel(RetroControls::label(
          {}, Theme::monoFontBold(), Theme::panelHeader(), Theme::panelHeaderBG(), Qt::AlignHCenter, this))
    , m_statusLabel(RetroControls::label(
          {}, Theme::monoFont(panelStatusFontSize), Theme::panelHeader(), std::nullopt, Qt::AlignLeft, this))
    , m_list(new PanelTableView(this))
    , m_titles(new PanelColumnTitles(rows, this))
{
    // Named so that the window and its tests can tell the three lines apart.
    m_pathLabel->setObjectName(QStringLiteral("pathLabel"));
    m_titles->setObjectName(QStringLiteral("columnHeader"));
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
    m_list->viewport()->installEventFilter(this);
}

void PanelFrameView::setPath(const QString& path)
{
    m_pathLabel->setText(path);
}

void PanelFrameView::setStatus(const QString& text)
{
    m_statusLabel->setText(text);
}

void PanelFrameView::setTopRow(QWidget* row)
{
    m_topRow = row;
    row->setParent(this);
    row->installEventFilter(this);
    layoutChildren();
}

void PanelFrameView::setCover(QWidget* cover)
{
    m_cover = cover;
    layoutChildren();
}

QPoint PanelFrameView::listCorner() const
{
    return { menuIndent, m_list->y() };
}

void PanelFrameView::resizeEvent(QResizeEvent* event)
{
    BorderedPanel::resizeEvent(event);
    layoutChildren();
}

bool PanelFrameView::eventFilter(QObject* watched, QEvent* event)
{
    const bool rowShownOrHidden = event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent;
    if (rowShownOrHidden && m_topRow && watched == m_topRow)
        layoutChildren();
    // The rows lay themselves out across the list's width, which shrinks when the scroll bar shows.
    if (event->type() == QEvent::Resize && watched == m_list->viewport())
        m_titles->setRowWidth(m_list->viewport()->width());
    return BorderedPanel::eventFilter(watched, event);
}

void PanelFrameView::layoutChildren()
{
    const int w = width();
    const int h = height();
    const int top = m_topRow && !m_topRow->isHidden() ? 1 + m_topRow->height() : 1;
    if (m_topRow)
        m_topRow->setGeometry(1, 1, w - 2, m_topRow->height());
    m_pathLabel->setGeometry(1, top, w - 2, pathHeight);
    m_titles->setGeometry(1, top + pathHeight, w - 2, headerHeight);
    const int listTop = top + pathHeight + headerHeight;
    // Whole rows only: what is left under the last one stays empty.
    const int listHeight = std::max(0, h - 1 - panelStatusHeight - listTop);
    m_list->setGeometry(1, listTop, w - 2, listHeight - listHeight % PanelTableView::rowHeight);
    m_statusLabel->setGeometry(1, h - 1 - panelStatusHeight, w - 2, panelStatusHeight);
    if (m_cover)
        m_cover->setGeometry(rect());
}

} // namespace kiv
