#include "DialogDriver.h"

#include "WidgetProbe.h"
#include "toolkit/RetroDialogButton.h"
#include "toolkit/RetroDialogView.h"
#include "toolkit/RetroMenuSession.h"
#include "toolkit/Theme.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace kiv::test {

namespace {

constexpr int pollMilliseconds = 10;
constexpr int patienceMilliseconds = 5000;

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

void closeModal(QWidget* modal)
{
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
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
        RetroDialogButton* okButton = view->okButton();
        seen->push_back({ view->titleText().toStdString(), view->messageText().toStdString(),
            field ? field->text().toStdString() : std::string(), okButton->label().toStdString(),
            view->cancelButton() != nullptr,
            pixelsOf(okButton->grab().toImage(), Theme::destructiveButtonText()) > 0
                ? ButtonTone::destructive
                : ButtonTone::ordinary });
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
    auto waited = std::make_shared<int>(0);
    ++answersWaiting;
    QObject::connect(poll, &QTimer::timeout, [poll, waited, answer = std::move(answer)] {
        QWidget* modal = QApplication::activeModalWidget();
        *waited += pollMilliseconds;
        if (!modal && *waited < patienceMilliseconds)
            return;
        poll->stop();
        poll->deleteLater();
        --answersWaiting;
        if (!modal) {
            ADD_FAILURE() << "no modal dialog appeared";
            return;
        }
        // Closes a modal that the answer did not close, so a wrong answer fails instead of hanging.
        QTimer::singleShot(patienceMilliseconds, timerOwner(), [modal = QPointer<QWidget>(modal)] {
            if (!modal || !modal->isVisible())
                return;
            ADD_FAILURE() << "the modal dialog was still open after it had been answered";
            closeModal(modal);
        });
        answer(modal);
    });
    poll->start(pollMilliseconds);
}

void answerNextModalWithKeys(Qt::Key key, const QString& text)
{
    answerNextModal([key, text](QWidget* modal) {
        QTest::keyClicks(keyTarget(modal), text);
        QTest::keyClick(keyTarget(modal), key);
    });
}

QWidget* keyTarget(QWidget* modal)
{
    return modal->focusWidget() ? modal->focusWidget() : modal;
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
            ADD_FAILURE() << "unexpected dialog: " << (view ? view->titleText().toStdString() : "?");
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
        closeModal(modal);
    }
}

void PrintTo(const ShownDialog& dialog, std::ostream* out)
{
    *out << "{" << dialog.title << " | " << dialog.message << " | field: " << dialog.field << " | "
         << dialog.okLabel << (dialog.okTone == ButtonTone::destructive ? " in red" : "")
         << (dialog.hasCancel ? " [ Cancel ]" : "") << "}";
}

ShownDialog prompt(const std::string& title, const std::string& message, const std::string& field)
{
    return { title, message, field, "[ OK ]", true };
}

ShownDialog question(
    const std::string& title, const std::string& message, const std::string& okLabel, ButtonTone okTone)
{
    return { title, message, "", okLabel, true, okTone };
}

ShownDialog notice(const std::string& title, const std::string& message)
{
    return { title, message, "", "[ OK ]", false };
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
