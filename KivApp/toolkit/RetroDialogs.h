#pragma once

#include "toolkit/RetroDialogStyle.h"

#include <QString>
#include <exception>
#include <optional>
#include <utility>

class QWidget;

// Every question and message the program puts to the user, as modal retro dialogs centred on
// `parent`'s window (or the screen when null). Each call blocks until the user answers.
namespace kiv::RetroDialogs {

// Asks for a line of text starting as `defaultValue`; returns the text (possibly empty) on OK,
// nothing on Cancel or Escape even when the text was edited.
std::optional<QString> prompt(
    QWidget* parent, const QString& title, const QString& message, const QString& defaultValue);

// Asks for a password or passphrase in a field that never shows what is typed; returns it on OK,
// nothing on Cancel or Escape.
std::optional<QString> secret(QWidget* parent, const QString& title, const QString& message);

// Asks for a line of text as prompt() does, offering a third button captioned `alternativeTitle`
// (also Alt and its first letter) that takes the text as well; returns the text and the answer
// (ok or alternative), nothing on Cancel or Escape.
std::optional<std::pair<QString, RetroDialogResponse>> promptOr(QWidget* parent, const QString& title,
    const QString& message, const QString& defaultValue, const QString& alternativeTitle);

// Asks a yes/no question; returns true exactly when the OK button (captioned `okTitle`, red
// when destructive) or Return/Enter answers it.
bool confirm(QWidget* parent, const QString& title, const QString& message,
    const QString& okTitle = QStringLiteral("OK"), ButtonTone okTone = ButtonTone::ordinary);

// Asks a question with three answers: OK (captioned `okTitle`, red when destructive; also Return
// or Enter), the alternative (captioned `alternativeTitle`; also its first letter) or Cancel (also
// Escape); returns the answer.
RetroDialogResponse ask(QWidget* parent, const QString& title, const QString& message, const QString& okTitle,
    ButtonTone okTone, const QString& alternativeTitle);

// Shows `message` under `title` with only an OK button; returns when dismissed by any key that
// answers a dialog or by a click on OK.
void message(QWidget* parent, const QString& title, const QString& message);

// Shows `lines` under `title` in a dialog as wide as its longest line but never larger than
// `parent`'s window (a line wider than that wraps), those that do not fit scrolling, with only an
// OK button; returns when dismissed as message() is.
void listing(QWidget* parent, const QString& title, const QString& lines);

// Shows the "Error" dialog with the text the user reads for `error`.
void error(QWidget* parent, const std::exception& error);

} // namespace kiv::RetroDialogs
