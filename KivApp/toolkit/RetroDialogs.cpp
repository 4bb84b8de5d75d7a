#include "toolkit/RetroDialogs.h"

#include "base/ErrorText.h"
#include "toolkit/RetroDialogWindow.h"
#include "toolkit/ShownText.h"

#include <QWidget>

namespace kiv::RetroDialogs {

namespace {

std::optional<QString> promptIn(
    const RetroDialogStyle& style, QWidget* parent, const QString& title, const QString& message)
{
    RetroDialogWindow dialog(title, message, style, QStringLiteral("OK"), ButtonTone::ordinary, parent);
    if (dialog.runModal(parent) != RetroDialogResponse::ok)
        return std::nullopt;
    return dialog.textFieldValue();
}

} // namespace

std::optional<QString> prompt(
    QWidget* parent, const QString& title, const QString& message, const QString& defaultValue)
{
    return promptIn(RetroDialogStyle::prompt(defaultValue), parent, title, message);
}

std::optional<QString> secret(QWidget* parent, const QString& title, const QString& message)
{
    return promptIn(RetroDialogStyle::secretPrompt(), parent, title, message);
}

std::optional<std::pair<QString, RetroDialogResponse>> promptOr(QWidget* parent, const QString& title,
    const QString& message, const QString& defaultValue, const QString& alternativeTitle)
{
    RetroDialogWindow dialog(title, message, RetroDialogStyle::promptOr(defaultValue, alternativeTitle),
        QStringLiteral("OK"), ButtonTone::ordinary, parent);
    const RetroDialogResponse response = dialog.runModal(parent);
    if (response == RetroDialogResponse::cancel)
        return std::nullopt;
    return std::pair { dialog.textFieldValue(), response };
}

bool confirm(
    QWidget* parent, const QString& title, const QString& message, const QString& okTitle, ButtonTone okTone)
{
    RetroDialogWindow dialog(title, message, RetroDialogStyle::confirm(), okTitle, okTone, parent);
    return dialog.runModal(parent) == RetroDialogResponse::ok;
}

RetroDialogResponse ask(QWidget* parent, const QString& title, const QString& message, const QString& okTitle,
    ButtonTone okTone, const QString& alternativeTitle)
{
    RetroDialogWindow dialog(
        title, message, RetroDialogStyle::confirmOr(alternativeTitle), okTitle, okTone, parent);
    return dialog.runModal(parent);
}

void message(QWidget* parent, const QString& title, const QString& message)
{
    RetroDialogWindow dialog(
        title, message, RetroDialogStyle::message(), QStringLiteral("OK"), ButtonTone::ordinary, parent);
    dialog.runModal(parent);
}

void listing(QWidget* parent, const QString& title, const QString& lines)
{
    RetroDialogWindow dialog(title, lines,
        RetroDialogStyle::listing(parent ? parent->window()->size() : QSize()), QStringLiteral("OK"),
        ButtonTone::ordinary, parent);
    dialog.runModal(parent);
}

void error(QWidget* parent, const std::exception& error)
{
    message(parent, QStringLiteral("Error"), ShownText::of(userMessage(error)));
}

} // namespace kiv::RetroDialogs
