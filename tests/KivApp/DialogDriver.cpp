#include "DialogDriver.h"

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

// Closes a modal that the answer did not close, so a wrong answer fails instead of hanging.
void closeIfStillOpen(QPointer<QWidget> modal)
{
    QTimer::singleShot(patienceMilliseconds, [modal] {
        if (!modal || !modal->isVisible()) return;
        ADD_FAILURE() << "the modal dialog was still open after it had been answered";
        if (auto* dialog = qobject_cast<QDialog*>(modal.data()))
            dialog->reject();
        else
            modal->close();
    });
}

} // namespace

void answerNextModal(std::function<void(QWidget* modal)> answer)
{
    auto* poll = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, waited, answer = std::move(answer)] {
        QWidget* modal = QApplication::activeModalWidget();
        *waited += pollMilliseconds;
        if (!modal && *waited < patienceMilliseconds) return;
        poll->stop();
        poll->deleteLater();
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
        if (!text.isEmpty()) QTest::keyClicks(keyTarget(modal), text);
        QTest::keyClick(keyTarget(modal), key);
    });
}

QWidget* keyTarget(QWidget* modal)
{
    return modal->focusWidget() ? modal->focusWidget() : modal;
}

} // namespace kiv::test
