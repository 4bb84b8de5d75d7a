#include "window/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

namespace kiv {

namespace {

// The key's text as typed without Ctrl, Alt or Meta: letters in the case Shift gives them,
// "\r" for Return and keypad Enter.
QString charactersIgnoringModifiers(const QKeyEvent& event)
{
    const int key = event.key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return QStringLiteral("\r");
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        const QChar letter(char16_t(u'a' + (key - Qt::Key_A)));
        return event.modifiers().testFlag(Qt::ShiftModifier) ? QString(letter.toUpper()) : QString(letter);
    }
    if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde)
        return QString(QChar(char16_t(key)));
    return {};
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    qApp->installEventFilter(this);
}

int MainWindow::functionKeyNumber(int key)
{
    if (key >= Qt::Key_F1 && key <= Qt::Key_F10)
        return key - Qt::Key_F1 + 1;
    return 0;
}

void MainWindow::setContentView(QWidget* view)
{
    m_contentView = view;
    view->setParent(this);
    view->setGeometry(rect());
    view->show();
}

bool MainWindow::routeKeyPress(const QKeyEvent& event)
{
    if (isKeyboardTaken && isKeyboardTaken())
        return false;
    if (const int number = functionKeyNumber(event.key())) {
        if (event.modifiers().testFlag(Qt::AltModifier) && onAltFunctionKey)
            onAltFunctionKey(number);
        else if (event.modifiers().testFlag(Qt::ControlModifier) && onControlFunctionKey)
            onControlFunctionKey(number);
        else if (onFunctionKey)
            onFunctionKey(number);
        return true;
    }
    if (event.modifiers().testFlag(Qt::ControlModifier))
        return runCommandKeyEquivalent(event);
    return false;
}

bool MainWindow::runCommandKeyEquivalent(const QKeyEvent& event)
{
    const QString characters = charactersIgnoringModifiers(event);
    if (characters.isEmpty())
        return false;
    for (const auto& [key, action] : onCommandKeyEquivalent) {
        if (key != characters)
            continue;
        if (action)
            action();
        return true;
    }
    return false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Key presses come here first for the window system's window and then for the focused
    // widget; acting on the widget's turn covers keys sent straight to a widget as well.
    if (event->type() == QEvent::KeyPress && isOwnWidget(watched))
        return routeKeyPress(static_cast<const QKeyEvent&>(*event));
    return QWidget::eventFilter(watched, event);
}

bool MainWindow::isOwnWidget(QObject* object) const
{
    const auto* widget = qobject_cast<const QWidget*>(object);
    return widget && widget->window() == this;
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_contentView)
        m_contentView->setGeometry(rect());
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (onShouldClose && !onShouldClose())
        event->ignore();
    else
        event->accept();
}

} // namespace kiv
