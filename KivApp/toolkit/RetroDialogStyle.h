#pragma once

#include <QSize>
#include <QString>

namespace kiv {

// The answer a retro dialog was given; a dialog answers `cancel` until OK or the alternative is
// chosen.
enum class RetroDialogResponse
{
    ok,
    alternative,
    cancel
};

// How a dialog's OK button reads: an ordinary answer, or one that destroys something (drawn red).
enum class ButtonTone
{
    ordinary,
    destructive
};

// Which kind of retro dialog to build: a prompt with an input field, a confirmation (with or
// without a third, alternative answer), a plain message with only an OK button, or a listing:
// fixed-pitch lines that scroll, with OK, as wide as the longest line within its bounds.
struct RetroDialogStyle
{
    enum class Kind
    {
        prompt,
        confirm,
        message,
        listing
    };

    Kind kind = Kind::message;
    // The input field's starting text; meaningful only for prompts.
    QString defaultValue;
    // The caption of the third button of a confirmation or prompt, e.g. "Save"; empty when there is
    // none.
    QString alternativeTitle;
    // The largest a listing may be, or empty for no bound.
    QSize bounds = {};
    // True for a prompt whose field shows nothing of what is typed (a password).
    bool hidesTyping = false;

    // Returns a prompt style whose field starts with `defaultValue`.
    static RetroDialogStyle prompt(const QString& defaultValue) { return { Kind::prompt, defaultValue, {} }; }
    // Returns a prompt style whose field starts with `defaultValue`, with a third button captioned
    // `alternativeTitle` that takes the text too.
    static RetroDialogStyle promptOr(const QString& defaultValue, const QString& alternativeTitle)
    {
        return { Kind::prompt, defaultValue, alternativeTitle };
    }
    // Returns a prompt style whose empty field never shows what is typed, not even its length.
    static RetroDialogStyle secretPrompt() { return { Kind::prompt, {}, {}, {}, true }; }
    // Returns the style of a question answered by OK or Cancel.
    static RetroDialogStyle confirm() { return { Kind::confirm, {}, {} }; }
    // Returns the style of a question answered by OK, Cancel or a button captioned
    // `alternativeTitle`.
    static RetroDialogStyle confirmOr(const QString& alternativeTitle)
    {
        return { Kind::confirm, {}, alternativeTitle };
    }
    // Returns the style of a message with only an OK button.
    static RetroDialogStyle message() { return { Kind::message, {}, {} }; }
    // Returns the style of a listing with only an OK button, no larger than `bounds` when that is
    // not empty.
    static RetroDialogStyle listing(QSize bounds = {}) { return { Kind::listing, {}, {}, bounds }; }

    // Returns true for prompts and confirmations, which offer a Cancel button.
    bool hasCancel() const { return kind == Kind::prompt || kind == Kind::confirm; }
    // Returns true when the dialog shows an input field.
    bool hasField() const { return kind == Kind::prompt; }
    // Returns true when the dialog offers the alternative answer.
    bool hasAlternative() const { return hasCancel() && !alternativeTitle.isEmpty(); }
};

} // namespace kiv
