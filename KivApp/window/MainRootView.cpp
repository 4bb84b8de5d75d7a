#include "window/MainRootView.h"

#include "console/CommandLineBar.h"
#include "toolkit/RetroSplitView.h"
#include "toolkit/Theme.h"
#include "window/FunctionKeyBarView.h"
#include "window/PulldownMenuBarView.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace kiv {

MainRootView::MainRootView(QWidget* parent)
    : QWidget(parent)
    , m_menuBar(new PulldownMenuBarView(this))
    , m_splitView(new RetroSplitView(this))
    , m_commandLine(new CommandLineBar(this))
    , m_funcKeyBar(new FunctionKeyBarView(this))
{
    layoutParts();
}

void MainRootView::showOverlay(QWidget* overlay)
{
    if (m_overlay && m_overlay != overlay)
        m_overlay->hide();
    m_overlay = overlay;
    if (!overlay)
        return;
    overlay->setParent(this);
    overlay->setGeometry(rect());
    overlay->raise();
    overlay->show();
}

void MainRootView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Theme::panelBackground());
}

void MainRootView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutParts();
}

void MainRootView::layoutParts()
{
    const int w = width();
    const int h = height();
    const int bottomBars = commandLineHeight + funcKeyBarHeight;
    m_menuBar->setGeometry(0, 0, w, menuBarHeight);
    m_splitView->setGeometry(0, menuBarHeight, w, std::max(0, h - menuBarHeight - bottomBars));
    m_commandLine->setGeometry(0, h - bottomBars, w, commandLineHeight);
    m_funcKeyBar->setGeometry(0, h - funcKeyBarHeight, w, funcKeyBarHeight);
    if (m_overlay)
        m_overlay->setGeometry(rect());
}

} // namespace kiv
