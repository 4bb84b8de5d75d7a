#include "DialogDriver.h"

#include "toolkit/RetroMenuSession.h"

#include <QApplication>
#include <QDialog>
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

// Closes a modal that the answer did not close, so a wrong answer fails instead of hanging.
void closeIfStillOpen(QPointer<QWidget> modal)
{
    QTimer::singleShot(patienceMilliseconds, timerOwner(), [modal] {
        if (!modal || !modal->isVisible())
            return;
        ADD_FAILURE() << "the modal dialog was still open after it had been answered";
        closeModal(modal);
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
        closeIfStillOpen(modal);
        answer(modal);
    });
    poll->start(pollMilliseconds);
}

void answerNextModalWithKeys(Qt::Key key, const QString& text)
{
    answerNextModal([key, text](QWidget* modal) {
        if (!text.isEmpty())
            QTest::keyClicks(keyTarget(modal), text);
        QTest::keyClick(keyTarget(modal), key);
    });
}

QWidget* keyTarget(QWidget* modal)
{
    return modal->focusWidget() ? modal->focusWidget() : modal;
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

} // namespace kiv::test
