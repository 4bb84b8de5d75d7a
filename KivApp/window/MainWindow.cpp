#include "window/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

namespace kiv {

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    qApp->installEventFilter(this);
}

void MainWindow::setContentView(QWidget* view)
{
    m_contentView = view;
    view->setParent(this);
    view->setGeometry(rect());
    view->show();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Key presses come here first for the window system's window and then for the focused
    // widget; acting on the widget's turn covers keys sent straight to a widget as well.
    const bool isKey = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
    if (!isKey || !isOwnWidget(watched))
        return QWidget::eventFilter(watched, event);
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (event->type() == QEvent::KeyPress)
        return onKeyPress && onKeyPress(key, watched);
    // Accepted, the override makes the key a key press instead of a shortcut.
    if (!takesKey || !takesKey(key, watched))
        return false;
    event->accept();
    return true;
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
