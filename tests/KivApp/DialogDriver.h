#pragma once

#include "toolkit/RetroDialogStyle.h"

#include <QString>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>


namespace kiv::test {

// Contract: call BEFORE the code that runs a modal dialog. Answers are queued: each modal widget
// that opens (QApplication::activeModalWidget()) is handed to the next queued answer from the
// event loop. The queue lives until the end of the test at most: finishTestDialogs() empties it.
void answerNextModal(std::function<void(QWidget* modal)> answer);

// Runs `act` on the next modal dialog, of type T or holding one, from the event loop once it is open.
template <class T> void onDialog(std::function<void(T&)> act)
{
    answerNextModal([act](QWidget* modal) {
        QTimer::singleShot(0, modal, [act, modal] {
            T* dialog = qobject_cast<T*>(modal);
            if (!dialog)
                dialog = modal->findChild<T*>();
            ASSERT_NE(dialog, nullptr) << "not the dialog expected";
            act(*dialog);
        });
    });
}

// From now on answers the dialogs as they open, and fails the running test on a dialog left open
// for 3 s, and closes it, so an unexpected dialog or a wrong answer fails fast and by its title
// instead of hanging the test.
void watchDialogs();

// Ends what the finishing test left behind, failing the test for each: answers still waiting for
// a dialog are cancelled, and a menu or dialog still open is closed. Runs after every test; a
// fixture whose window owns the dialogs and menus calls it before destroying the window.
void finishTestDialogs();

// What one dialog showed: its title, message, text field, OK button's label and tone (drawn red
// or not), whether it can be cancelled and its alternative button's label, if any. A dialog of
// lettered choices shows its title and its lines as the message.
struct ShownDialog
{
    std::string title;
    std::string message;
    std::string field;
    std::string okLabel;
    bool hasCancel = false;
    ButtonTone okTone = ButtonTone::ordinary;
    std::string alternativeLabel;

    bool operator==(const ShownDialog&) const = default;
};
using ShownDialogs = std::vector<ShownDialog>;

// Prints `dialog` in failure messages.
void PrintTo(const ShownDialog& dialog, std::ostream* out);
// A prompt: a field filled with `field`, OK and Cancel.
inline ShownDialog prompt(const std::string& title, const std::string& message, const std::string& field)
{
    return { title, message, field, "[ OK ]", true, ButtonTone::ordinary, "" };
}
// A question: OK (labelled `okLabel`, in `okTone`) and Cancel.
inline ShownDialog question(const std::string& title, const std::string& message,
    const std::string& okLabel = "[ OK ]", ButtonTone okTone = ButtonTone::ordinary)
{
    return { title, message, "", okLabel, true, okTone, "" };
}
// The editor's question about unsaved changes to `name`: a red Discard, Cancel and Save.
inline ShownDialog unsavedChanges(const std::string& name)
{
    return { "Unsaved Changes", name + " has unsaved changes. Close without saving?", "", "[ Discard ]", true,
        ButtonTone::destructive, "[ Save ]" };
}
// A message with only OK.
inline ShownDialog notice(const std::string& title, const std::string& message)
{
    return { title, message, "", "[ OK ]", false, ButtonTone::ordinary, "" };
}

// How one dialog is answered: its field's text replaced by `typed` when set, then `key` pressed.
struct Answer
{
    Qt::Key key = Qt::Key_Return;
    std::optional<QString> typed;
};
// Return (OK), or Escape (Cancel), pressed on a dialog; or any key of a dialog of choices.
inline const Answer ok {};
inline const Answer no { Qt::Key_Escape, {} };
// The letter of a "Save" alternative pressed on a dialog.
inline const Answer save { Qt::Key_S, {} };
// Presses `key`: one of the lettered choices of a job's question or progress dialog.
inline Answer pressing(Qt::Key key)
{
    return { key, std::nullopt };
}
// Answers a prompt with `text`.
inline Answer typing(const std::string& text)
{
    return { Qt::Key_Return, QString::fromStdString(text) };
}

// Runs `action`, answering the dialogs it shows with `answers` in order; returns what they showed.
ShownDialogs answering(std::vector<Answer> answers, const std::function<void()>& action);

} // namespace kiv::test
