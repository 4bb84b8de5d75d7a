#include "DialogDriver.h"

#include "WidgetProbe.h"
#include "toolkit/RetroDialogButton.h"
#include "toolkit/RetroDialogView.h"
#include "toolkit/RetroMenuSession.h"
#include "toolkit/Theme.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace kiv::test {

namespace {

// Owns every timer the running test has queued; deleting it cancels them, so an answer meant for
// one test never answers the next one's dialog or writes into the finished test's variables.
QObject* queuedTimers = nullptr;
int answersWaiting = 0;

QObject* timerOwner()
{
    if (!queuedTimers)
        queuedTimers = new QObject;
    return queuedTimers;
}

// The widget of `modal` that receives its keys: its focus widget, else `modal` itself.
QWidget* keyTarget(QWidget* modal)
{
    return modal->focusWidget() ? modal->focusWidget() : modal;
}

// Records the next dialog and answers it; the one after is looked for only once it is closed.
void answerInOrder(std::shared_ptr<ShownDialogs> seen, std::vector<Answer> answers)
{
    if (answers.empty())
        return;
    const Answer answer = answers.front();
    answers.erase(answers.begin());
    answerNextModal([seen, answer, rest = std::move(answers)](QWidget* modal) {
        const auto* view = modal->findChild<RetroDialogView*>();
        QLineEdit* field = view->textField();
        const bool red = pixelsOf(view->okButton()->grab().toImage(), Theme::destructiveButtonText()) > 0;
        seen->push_back({ view->titleText().toStdString(), view->messageText().toStdString(),
            field ? field->text().toStdString() : "", view->okButton()->label().toStdString(),
            view->cancelButton() != nullptr, red ? ButtonTone::destructive : ButtonTone::ordinary });
        if (answer.typed) {
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Backspace);
            QTest::keyClicks(field, *answer.typed);
        }
        QTest::keyClick(keyTarget(modal), answer.key);
        answerInOrder(seen, rest);
    });
}

} // namespace

void answerNextModal(std::function<void(QWidget* modal)> answer)
{
    auto* poll = new QTimer(timerOwner());
    ++answersWaiting;
    QObject::connect(
        poll, &QTimer::timeout, [poll, deadline = QDeadlineTimer(5000), answer = std::move(answer)] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal && !deadline.hasExpired())
                return;
            poll->stop();
            poll->deleteLater();
            --answersWaiting;
            if (!modal) {
                ADD_FAILURE() << "no modal dialog appeared";
                return;
            }
            answer(modal);
        });
    poll->start(10);
}

void watchForForgottenDialogs()
{
    auto* watchdog = new QTimer(qApp);
    QObject::connect(watchdog, &QTimer::timeout, [lastModal = QPointer<QWidget>(), ticks = 0]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        ticks = modal == lastModal ? ticks + 1 : 0;
        lastModal = modal;
        if (modal && ticks > 30) {
            const auto* view = modal->findChild<RetroDialogView*>();
            ADD_FAILURE() << "a dialog stayed open unanswered for 3 s: "
                          << (view ? view->titleText().toStdString() : "?");
            modal->close();
        }
    });
    watchdog->start(100);
}

void finishTestDialogs()
{
    if (answersWaiting > 0)
        ADD_FAILURE() << answersWaiting << " queued dialog answer(s) found no dialog by the end of the test";
    answersWaiting = 0;
    delete queuedTimers;
    queuedTimers = nullptr;
    if (RetroMenuSession* menu = RetroMenuSession::current()) {
        ADD_FAILURE() << "a menu was still open at the end of the test";
        menu->end(nullptr);
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        ADD_FAILURE() << "a dialog was still open at the end of the test";
        modal->close(); // a dialog is rejected
    }
}

void PrintTo(const ShownDialog& dialog, std::ostream* out)
{
    *out << "{" << dialog.title << " | " << dialog.message << " | field: " << dialog.field << " | "
         << dialog.okLabel << (dialog.okTone == ButtonTone::destructive ? " in red" : "")
         << (dialog.hasCancel ? " [ Cancel ]" : "") << "}";
}

ShownDialogs answering(std::vector<Answer> answers, const std::function<void()>& action)
{
    auto seen = std::make_shared<ShownDialogs>();
    const std::size_t expected = answers.size();
    answerInOrder(seen, std::move(answers));
    action();
    // A menu runs its command after it has closed, so the dialogs may still be to come.
    EXPECT_TRUE(QTest::qWaitFor([&] { return seen->size() == expected; }));
    return *seen;
}

} // namespace kiv::test
