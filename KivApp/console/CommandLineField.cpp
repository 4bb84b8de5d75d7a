#include "console/CommandLineField.h"

#include <QKeyEvent>

namespace kiv {

namespace {

void call(const std::function<void()>& callback, QKeyEvent& event)
{
    if (callback)
        callback();
    event.accept();
}

bool isSubmitOrCancelKey(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true;
    default:
        return false;
    }
}

} // namespace

CommandLineField::CommandLineField(QWidget* parent)
    : QLineEdit(parent)
{
}

bool CommandLineField::event(QEvent* event)
{
    // Claim the keys before any window shortcut on them, so they always reach keyPressEvent.
    if (event->type() == QEvent::ShortcutOverride && isSubmitOrCancelKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void CommandLineField::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        call(onSubmit, *event);
        break;
    case Qt::Key_Escape:
        call(onCancel, *event);
        break;
    case Qt::Key_Up:
        call(onOlder, *event);
        break;
    case Qt::Key_Down:
        call(onNewer, *event);
        break;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

} // namespace kiv
