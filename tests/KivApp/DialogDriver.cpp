#include "DialogDriver.h"

#include "WidgetProbe.h"
#include "toolkit/RetroChoiceView.h"
#include "toolkit/RetroDialogButton.h"
#include "toolkit/RetroDialogView.h"
#include "toolkit/RetroMenuSession.h"
#include "toolkit/Theme.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <deque>
#include <gtest/gtest.h>

namespace kiv::test {

namespace {

std::deque<std::function<void(QWidget* modal)>> queuedAnswers;
QPointer<QWidget> watchedModal; // the dialog on top at the last look
int ticksOpen = 0;

// Hands a dialog that has just come to the top to the next answer, once it has stayed there for a
// second look: a dialog's loop may still run a pass after it closed and before the next one opens,
// and the one beneath, seen in that pass, must not take the answer meant for the next. Fails the
// test on a dialog open for 3 s.
void lookAtDialogs()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != watchedModal) {
        watchedModal = modal;
        ticksOpen = 0;
        return;
    }
    if (!modal)
        return;
    if (++ticksOpen == 1 && !queuedAnswers.empty()) {
        auto answer = std::move(queuedAnswers.front());
        queuedAnswers.pop_front();
        answer(modal);
    } else if (ticksOpen > 300) {
        const auto* view = modal->findChild<RetroDialogView*>();
        ADD_FAILURE() << "a dialog stayed open for 3 s: " << (view ? view->titleText().toStdString() : "?");
        modal->close(); // a dialog is rejected
    }
}

} // namespace

void answerNextModal(std::function<void(QWidget* modal)> answer)
{
    queuedAnswers.push_back(std::move(answer));
}

void watchDialogs()
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, lookAtDialogs);
    timer->start(10);
}

void finishTestDialogs()
{
    if (!queuedAnswers.empty())
        ADD_FAILURE() << queuedAnswers.size()
                      << " queued dialog answer(s) found no dialog by the end of the test";
    queuedAnswers.clear();
    if (RetroMenuSession* menu = RetroMenuSession::current()) {
        ADD_FAILURE() << "a menu was still open at the end of the test";
        menu->end(nullptr);
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        ADD_FAILURE() << "a dialog was still open at the end of the test";
        modal->close();
    }
}

void PrintTo(const ShownDialog& dialog, std::ostream* out)
{
    *out << "{" << dialog.title << " | " << dialog.message << " | field: " << dialog.field << " | "
         << dialog.okLabel << (dialog.okTone == ButtonTone::destructive ? " in red" : "")
         << (dialog.hasCancel ? " [ Cancel ]" : "") << " " << dialog.alternativeLabel << "}";
}

ShownDialogs answering(std::vector<Answer> answers, const std::function<void()>& action)
{
    auto seen = std::make_shared<ShownDialogs>();
    for (const Answer& answer : answers) {
        answerNextModal([seen, answer](QWidget* modal) {
            const auto* view = modal->findChild<RetroDialogView*>();
            if (auto* choices = modal->findChild<RetroChoiceView*>(); choices && !view) {
                // A dialog of lettered choices: its title, its lines, and the key pressed.
                ShownDialog shown;
                shown.title = choices->titleText().toStdString();
                shown.message = choices->lines().join('\n').toStdString();
                seen->push_back(shown);
                QTest::keyClick(choices, answer.key);
                return;
            }
            QLineEdit* field = view->textField();
            const bool red = pixelsOf(view->okButton()->grab().toImage(), Theme::destructiveButtonText()) > 0;
            const RetroDialogButton* alternative = view->alternativeButton();
            seen->push_back({ view->titleText().toStdString(), view->messageText().toStdString(),
                field ? field->text().toStdString() : "", view->okButton()->label().toStdString(),
                view->cancelButton() != nullptr, red ? ButtonTone::destructive : ButtonTone::ordinary,
                alternative ? alternative->label().toStdString() : "" });
            if (answer.typed) {
                field->selectAll();
                QTest::keyClick(field, Qt::Key_Backspace);
                QTest::keyClicks(field, *answer.typed);
            }
            QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, answer.key);
        });
    }
    action();
    // A menu runs its command after it has closed, so the dialogs may still be to come.
    EXPECT_TRUE(QTest::qWaitFor([&] { return seen->size() == answers.size(); }));
    return *seen;
}

} // namespace kiv::test
