#pragma once

#include <QKeySequence>
#include <QString>
#include <functional>

class QWidget;

namespace kiv::test {

// Contract: call BEFORE the code that runs a modal dialog; once the next modal widget is shown
// (QApplication::activeModalWidget()), `answer` is called with it from the event loop. If no
// modal appears within 5 s the test fails; if the modal is still open 5 s after `answer`, the
// test fails and the modal is closed so the run never hangs. The answer lives until the end of
// the test at most: finishTestDialogs() cancels it.
void answerNextModal(std::function<void(QWidget* modal)> answer);

// Contract: answers the next modal dialog by typing `text` (when not empty) and then clicking
// `key` on the modal's focused widget (or the modal itself when nothing in it has focus).
void answerNextModalWithKeys(Qt::Key key, const QString& text = {});

// Returns the widget of `modal` that receives its keys: its focus widget, else `modal` itself.
QWidget* keyTarget(QWidget* modal);

// Ends what the finishing test left behind, failing the test for each: answers still waiting for
// a dialog are cancelled, and a menu or dialog still open is closed. Runs after every test; a
// fixture whose window owns the dialogs and menus calls it before destroying the window.
void finishTestDialogs();

} // namespace kiv::test
