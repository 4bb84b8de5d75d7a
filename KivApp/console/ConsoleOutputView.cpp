#include "console/ConsoleOutputView.h"

#include "toolkit/RetroControls.h"
#include "toolkit/Theme.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

namespace kiv {

namespace {

constexpr int hintHeight = 18;
constexpr int textInset = 6;

QTextCharFormat runFormat(const QFont& font, const QColor& color)
{
    QTextCharFormat format;
    format.setFont(font);
    format.setForeground(color);
    return format;
}

// Standard output then standard error, unmarked, ending in exactly one line break.
QString outputText(const ShellRunner::Result& result)
{
    const std::string output = result.stdout + result.stderr;
    if (output.empty())
        return QStringLiteral("(no output)\n");
    QString text = QString::fromStdString(output);
    if (!text.endsWith('\n'))
        text += '\n';
    return text;
}

QPlainTextEdit* makeTextView(QWidget* parent)
{
    auto* view = new QPlainTextEdit(parent);
    view->setReadOnly(true);
    view->setTextInteractionFlags(Qt::NoTextInteraction);
    view->setFocusPolicy(Qt::NoFocus);
    view->setFont(Theme::monoFont(12));
    view->setFrameShape(QFrame::NoFrame);
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QPalette colors = view->palette();
    colors.setColor(QPalette::Base, Theme::commandLineBackground());
    view->setPalette(colors);
    view->document()->setDocumentMargin(textInset);
    view->document()->setUndoRedoEnabled(false);
    return view;
}

bool isModifierOnly(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
        return true;
    default:
        return false;
    }
}

} // namespace

ConsoleOutputView::ConsoleOutputView(
    const QString& promptPath, const QString& command, const ShellRunner::Result& result, QWidget* parent)
    : QWidget(parent)
    , m_textView(makeTextView(this))
    , m_hintLabel(RetroControls::label(" Press any key to return to Tavrin ", Theme::monoFontBold(11),
          Theme::commandLineBackground(), Theme::commandLineText(), Qt::AlignCenter, this))
{
    setFocusPolicy(Qt::StrongFocus);
    buildTranscript(*m_textView->document(), promptPath, command, result);
    // Clicks on the text and on the bar dismiss as well; the scroll bar keeps its clicks.
    m_textView->viewport()->installEventFilter(this);
    m_hintLabel->installEventFilter(this);
}

void ConsoleOutputView::buildTranscript(QTextDocument& document, const QString& promptPath,
    const QString& command, const ShellRunner::Result& result)
{
    QTextCursor cursor(&document);
    cursor.insertText(
        promptPath + " $ " + command + "\n\n", runFormat(Theme::monoFontBold(12), Theme::commandLineText()));
    cursor.insertText(outputText(result), runFormat(Theme::monoFont(12), Theme::panelText()));
    if (result.exitCode != 0)
        cursor.insertText(QStringLiteral("\n[exit code %1]\n").arg(result.exitCode),
            runFormat(Theme::monoFontBold(12), Theme::commandFailureText()));
}

void ConsoleOutputView::placeChildren()
{
    m_hintLabel->setGeometry(0, 0, width(), hintHeight);
    m_textView->setGeometry(0, hintHeight, width(), qMax(0, height() - hintHeight));
}

void ConsoleOutputView::scrollToEnd()
{
    QScrollBar* scrollBar = m_textView->verticalScrollBar();
    scrollBar->setValue(scrollBar->maximum());
}

void ConsoleOutputView::dismiss()
{
    if (onDismiss)
        onDismiss();
}

void ConsoleOutputView::resizeEvent(QResizeEvent*)
{
    placeChildren();
    scrollToEnd();
}

void ConsoleOutputView::showEvent(QShowEvent*)
{
    // The text view lays itself out only once shown, so the end is known only now.
    scrollToEnd();
}

void ConsoleOutputView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Theme::commandLineBackground());
}

void ConsoleOutputView::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    // A modifier alone is not a key press the user means as an answer.
    if (!isModifierOnly(event->key()))
        dismiss();
}

void ConsoleOutputView::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    dismiss();
}

bool ConsoleOutputView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        dismiss();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool ConsoleOutputView::focusNextPrevChild(bool)
{
    // Tab is a key like any other here: it must reach keyPressEvent instead of moving focus.
    return false;
}

} // namespace kiv
