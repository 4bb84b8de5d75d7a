#include "toolkit/RetroDialogWindow.h"

#include "toolkit/RetroDialogView.h"
#include "toolkit/RetroPainting.h"
#include "toolkit/Theme.h"

#include <QGuiApplication>
#include <QScreen>

namespace kiv {

RetroDialogWindow::RetroDialogWindow(const QString& title, const QString& message,
    const RetroDialogStyle& style, const QString& okTitle, ButtonTone okTone, QWidget* parent)
    : QDialog(parent ? parent->window() : nullptr, Qt::Dialog | Qt::FramelessWindowHint)
    , m_dialogView(new RetroDialogView(title, message, style, okTitle, okTone, this))
{
    setFixedSize(m_dialogView->size());
    setModal(true);
    RetroPainting::setPaletteColor(*this, QPalette::Window, Theme::dialogBackground());
    m_dialogView->fieldForFirstResponder()->setFocus();
    // The view is this window's child, so these never outlive the window they call.
    m_dialogView->onOK = [this] { finish(RetroDialogResponse::ok); };
    m_dialogView->onCancel = [this] { finish(RetroDialogResponse::cancel); };
    m_dialogView->onAlternative = [this] { finish(RetroDialogResponse::alternative); };
}

RetroDialogResponse RetroDialogWindow::runModal(QWidget* relativeTo)
{
    centreOn(relativeTo);
    exec();
    return m_responseCode;
}

void RetroDialogWindow::finish(RetroDialogResponse response)
{
    m_responseCode = response;
    done(response == RetroDialogResponse::ok ? QDialog::Accepted : QDialog::Rejected);
}

QString RetroDialogWindow::textFieldValue() const
{
    return m_dialogView->textFieldValue();
}

void RetroDialogWindow::reject()
{
    finish(RetroDialogResponse::cancel);
}

void RetroDialogWindow::centreOn(QWidget* relativeTo)
{
    QRectF around;
    if (relativeTo)
        around = relativeTo->window()->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        around = screen->availableGeometry();
    if (around.isEmpty())
        return;
    const QPointF origin = around.center() - QPointF(width() * 0.5, height() * 0.5);
    move(origin.toPoint());
}

} // namespace kiv
