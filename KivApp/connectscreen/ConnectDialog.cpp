#include "connectscreen/ConnectDialog.h"

#include "toolkit/RetroChoiceView.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/RetroPainting.h"
#include "toolkit/ShownText.h"
#include "toolkit/Theme.h"

#include <QKeyEvent>

namespace kiv {

namespace {

const QString connectTitle = QStringLiteral("Connect to Server");
constexpr int connectDialogWidth = 520;
constexpr int connectLineCount = 6;

// The first button connects; the other cancels.
constexpr int connectChoice = 0;

QString shownOr(const std::string& field, const QString& empty)
{
    return field.empty() ? empty : ShownText::of(field);
}

} // namespace

std::optional<RemotePlace> ConnectDialog::ask(QWidget* parent, ConnectForm start)
{
    ConnectDialog dialog(std::move(start), parent);
    if (parent) {
        const QRect around = parent->window()->frameGeometry();
        dialog.move(around.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.form().place();
}

ConnectDialog::ConnectDialog(ConnectForm start, QWidget* parent)
    : QDialog(parent ? parent->window() : nullptr, Qt::Dialog | Qt::FramelessWindowHint)
    , m_form(std::move(start))
{
    m_face = new RetroChoiceView(connectTitle,
        { { QStringLiteral("Return Connect"), Qt::Key_Return }, { QStringLiteral("Esc Cancel"), Qt::Key_Escape } },
        connectDialogWidth, connectLineCount, this);
    m_face->onChoice = [this](int index) { index == connectChoice ? connectIfWhole() : reject(); };
    m_face->onOtherKey = [this](QKeyEvent* event) { change(event->key()); };
    setWindowTitle(connectTitle);
    setFixedSize(m_face->size());
    setModal(true);
    RetroPainting::setPaletteColor(*this, QPalette::Window, Theme::dialogBackground());
    refresh();
    m_face->setFocus();
}

void ConnectDialog::refresh()
{
    m_face->setLines({ QStringLiteral(" H  Host:    ") + shownOr(m_form.host, QStringLiteral("(none yet)")),
        QStringLiteral(" P  Port:    ") + shownOr(m_form.port, QStringLiteral("(from ~/.ssh/config, else 22)")),
        QStringLiteral(" U  User:    ") + shownOr(m_form.user, QStringLiteral("(from ~/.ssh/config, else yours)")),
        QStringLiteral(" F  Folder:  ") + shownOr(m_form.folder, QStringLiteral("(the login folder)")), QString(),
        QStringLiteral(" sftp: the server's key is checked against ~/.ssh/known_hosts") });
}

void ConnectDialog::change(int key)
{
    switch (key) {
    case Qt::Key_H:
        edit(QStringLiteral("The server's host name, address or ~/.ssh/config alias:"), m_form.host);
        break;
    case Qt::Key_P:
        edit(QStringLiteral("Port (empty: from ~/.ssh/config, else 22):"), m_form.port);
        break;
    case Qt::Key_U:
        edit(QStringLiteral("User name (empty: from ~/.ssh/config, else yours):"), m_form.user);
        break;
    case Qt::Key_F:
        edit(QStringLiteral("Folder on the server (empty or ~: the login folder):"), m_form.folder);
        break;
    default:
        return;
    }
    refresh();
}

void ConnectDialog::edit(const QString& message, std::string& field)
{
    const std::optional<QString> typed = RetroDialogs::prompt(this, connectTitle, message, ShownText::of(field));
    if (typed)
        field = ShownText::bytesOf(*typed);
}

void ConnectDialog::connectIfWhole()
{
    if (const std::optional<std::string> problem = m_form.problem()) {
        RetroDialogs::message(this, connectTitle, ShownText::of(*problem));
        return;
    }
    accept();
}

} // namespace kiv
