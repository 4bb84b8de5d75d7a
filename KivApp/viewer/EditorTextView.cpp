#include "viewer/EditorTextView.h"

#include "toolkit/Theme.h"

#include <QKeyEvent>
#include <QPainter>

namespace kiv {

namespace {

constexpr int caretWidth = 1;

} // namespace

EditorTextView::EditorTextView(QWidget* parent)
    : QPlainTextEdit(parent)
{
    // Qt draws its caret in the text colour; this view draws its own instead.
    setCursorWidth(0);
}

void EditorTextView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        if (onEscape)
            onEscape();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Save)) {
        if (onSave)
            onSave();
        event->accept();
        return;
    }
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && event->modifiers() & Qt::ShiftModifier) {
        // Shift+Return would insert a Unicode line separator, which a plain text file does not use.
        QKeyEvent plainReturn(
            event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier, event->text());
        QPlainTextEdit::keyPressEvent(&plainReturn);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void EditorTextView::paintEvent(QPaintEvent* event)
{
    QPlainTextEdit::paintEvent(event);
    if (!hasFocus() || isReadOnly())
        return;
    QPainter painter(viewport());
    const QRect caret = cursorRect();
    painter.fillRect(QRect(caret.left(), caret.top(), caretWidth, caret.height()), Theme::editorCaret());
}

} // namespace kiv
