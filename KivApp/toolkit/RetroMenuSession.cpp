#include "toolkit/RetroMenuSession.h"

#include "toolkit/RetroMenuPanel.h"
#include "toolkit/Weakly.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

namespace kiv {

namespace {

std::unique_ptr<RetroMenuSession>& openSession()
{
    static std::unique_ptr<RetroMenuSession> session;
    return session;
}

} // namespace

RetroMenuSession::RetroMenuSession(std::vector<RetroMenuItem> items, QWidget* owner)
    : m_panel(new RetroMenuPanel(std::move(items), owner))
{
}

RetroMenuSession::~RetroMenuSession()
{
    if (!m_panel)
        return;
    m_panel->onChoose = nullptr;
    m_panel->onCancel = nullptr;
    // At process exit the application may already be gone; then there is nothing to tidy.
    if (QCoreApplication::instance())
        m_panel->deleteLater();
}

void RetroMenuSession::show(std::vector<RetroMenuItem> items, QPoint screenPoint, QWidget* relativeTo)
{
    if (RetroMenuSession* open = current())
        open->end(nullptr);
    openSession() = std::make_unique<RetroMenuSession>(std::move(items), relativeTo);
    openSession()->present(screenPoint, relativeTo);
}

RetroMenuSession* RetroMenuSession::current()
{
    return openSession().get();
}

RetroMenuPanel* RetroMenuSession::panel() const
{
    return m_panel;
}

void RetroMenuSession::present(QPoint screenPoint, QWidget* relativeTo)
{
    QRect frame(screenPoint, m_panel->size());
    const QScreen* screen = relativeTo ? relativeTo->screen() : QGuiApplication::primaryScreen();
    if (screen)
        frame = placedFrame(frame, screen->availableGeometry());
    m_panel->move(frame.topLeft());

    m_panel->onChoose = weakly(this, &RetroMenuSession::end);
    m_panel->onCancel = weakly(this, [](RetroMenuSession& session) { session.end(nullptr); });
    // Qt keeps popups open while the application is deactivated on some platforms; a menu
    // left open over another program's window would swallow the next click.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            end(nullptr);
    });
    m_panel->show();
    m_panel->activateWindow();
}

void RetroMenuSession::end(std::function<void()> runAction)
{
    if (m_hasEnded)
        return;
    m_hasEnded = true;
    // This may run inside the popup's own event or a signal aimed at this session, so the
    // session is freed from the event loop, after the action has run.
    if (openSession().get() == this)
        openSession().release()->deleteLater();
    if (m_panel)
        m_panel->hide();
    if (runAction)
        runAction();
}

QRect RetroMenuSession::placedFrame(QRect frame, const QRect& available)
{
    const int availableRight = available.x() + available.width();
    const int availableBottom = available.y() + available.height();
    if (frame.x() + frame.width() > availableRight)
        frame.moveLeft(availableRight - frame.width());
    if (frame.x() < available.x())
        frame.moveLeft(available.x());
    if (frame.y() + frame.height() > availableBottom)
        frame.moveTop(availableBottom - frame.height());
    return frame;
}

} // namespace kiv
