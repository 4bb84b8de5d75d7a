#include "toolkit/RetroMenuPanel.h"

#include "toolkit/RetroMenuView.h"
#include "toolkit/RetroPainting.h"
#include "toolkit/Theme.h"

#include <QApplication>
#include <QMouseEvent>
#include <memory>

namespace kiv {

RetroMenuPanel::RetroMenuPanel(std::vector<RetroMenuItem> items, QWidget* parent)
    : QWidget(parent ? parent->window() : nullptr, Qt::Popup | Qt::FramelessWindowHint)
    , m_menuView(new RetroMenuView(std::move(items), this))
{
    setFixedSize(m_menuView->size());
    // Qt replays the closing click only on some platforms; mousePressEvent does it everywhere.
    setAttribute(Qt::WA_NoMouseReplay);
    RetroPainting::setPaletteColor(*this, QPalette::Window, Theme::menuBarBackground());
    setFocusProxy(m_menuView);
    m_menuView->setFocus();
    // The view is this panel's child, so these never outlive the panel they call.
    m_menuView->onChoose = [this](std::function<void()> action) {
        if (onChoose)
            onChoose(std::move(action));
    };
    m_menuView->onCancel = [this] {
        if (onCancel)
            onCancel();
    };
}

void RetroMenuPanel::hideEvent(QHideEvent* event)
{
    // Qt hides a popup on an outside click or when the application loses focus: both cancel.
    QWidget::hideEvent(event);
    if (onCancel)
        onCancel();
}

namespace {

// Delivers a press that closed the popup to the widget under it, unless a modal dialog
// blocks that widget.
void replayPress(const QMouseEvent& press)
{
    const QPoint global = press.globalPosition().toPoint();
    QWidget* target = QApplication::widgetAt(global);
    const QWidget* modal = QApplication::activeModalWidget();
    if (!target || (modal && modal != target->window()))
        return;
    QMouseEvent replay(QEvent::MouseButtonPress, target->mapFromGlobal(global), press.globalPosition(),
        press.button(), press.buttons(), press.modifiers());
    QCoreApplication::sendEvent(target, &replay);
}

} // namespace

void RetroMenuPanel::mousePressEvent(QMouseEvent* event)
{
    if (rect().contains(event->position().toPoint()))
        return;
    const std::unique_ptr<QMouseEvent> press(event->clone());
    close();
    replayPress(*press);
}

} // namespace kiv
