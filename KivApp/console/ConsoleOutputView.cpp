#include "console/ConsoleOutputView.h"

#include "text/KivFormat.h"
#include "toolkit/RetroControls.h"
#include "toolkit/Theme.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

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

QTextCharFormat outputFormat(ConsoleLog::Stream stream)
{
    return runFormat(Theme::monoFont(12),
        stream == ConsoleLog::Stream::error ? Theme::commandErrorText() : Theme::panelText());
}

// Ctrl+C as the terminal knows it: the Control key, which Qt calls Meta on macOS.
bool isInterruptKey(const QKeyEvent& event)
{
    return event.key() == Qt::Key_C && (event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
}

// The text view keeps the prompt line and the blank line under it before the output.
constexpr int headerBlocks = 2;
// Lines a block at a time cost about as much to remove as to add: at most this many go per update.
constexpr std::int64_t mostLinesRemovedAtOnce = 1'000;

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

ConsoleOutputView::ConsoleOutputView(const QString& promptPath, const QString& command, QWidget* parent)
    : QWidget(parent)
    , m_promptLine(promptPath + " $ " + command)
    , m_textView(makeTextView(this))
    , m_hintLabel(RetroControls::label(" Running... Ctrl+C interrupts ", Theme::monoFontBold(11),
          Theme::commandLineBackground(), Theme::commandLineText(), Qt::AlignCenter, this))
{
    setFocusPolicy(Qt::StrongFocus);
    writeHeader();
    // Clicks on the text and on the bar dismiss as well; the scroll bar keeps its clicks.
    m_textView->viewport()->installEventFilter(this);
    m_hintLabel->installEventFilter(this);
}

void ConsoleOutputView::showOutput(const ConsoleLog::Update& update)
{
    // One edit: the text view lays out and redraws once for all of it.
    QTextCursor edit(m_textView->document());
    edit.beginEditBlock();
    m_linesToRemove += update.linesToRemove;
    removeFirstOutputLines();
    showDroppedLines(update.droppedLines);
    appendPieces(update.pieces);
    edit.endEditBlock();
    scrollToEnd();
}

void ConsoleOutputView::finish(std::int32_t exitCode)
{
    m_running = false;
    while (m_linesToRemove > 0)
        removeFirstOutputLines();
    QTextCursor cursor(m_textView->document());
    cursor.movePosition(QTextCursor::End);
    if (!m_hadOutput)
        cursor.insertText(QStringLiteral("(no output)\n"), outputFormat(ConsoleLog::Stream::output));
    else if (m_endsOpen)
        cursor.insertText(QStringLiteral("\n"));
    if (exitCode != 0)
        cursor.insertText(QStringLiteral("\n[exit code %1]\n").arg(exitCode),
            runFormat(Theme::monoFontBold(12), Theme::commandFailureText()));
    m_hintLabel->setText(QStringLiteral(" Press any key to return to Tavrin "));
    scrollToEnd();
}

void ConsoleOutputView::writeHeader()
{
    QTextCursor(m_textView->document())
        .insertText(m_promptLine + "\n\n", runFormat(Theme::monoFontBold(12), Theme::commandLineText()));
}

QTextCursor ConsoleOutputView::outputStart() const
{
    const int noticeBlocks = m_droppedLines > 0 ? 1 : 0;
    return QTextCursor(m_textView->document()->findBlockByNumber(headerBlocks + noticeBlocks));
}

void ConsoleOutputView::removeFirstOutputLines()
{
    if (m_linesToRemove <= 0)
        return;
    // All of the output goes at once with the header remade; fewer lines go a slice at a time,
    // the rest at the next update.
    if (m_linesToRemove >= m_textView->document()->blockCount() - outputStart().blockNumber()) {
        m_textView->document()->clear();
        m_droppedLines = 0;
        m_linesToRemove = 0;
        writeHeader();
        return;
    }
    const std::int64_t count = std::min(m_linesToRemove, mostLinesRemovedAtOnce);
    m_linesToRemove -= count;
    QTextCursor cursor = outputStart();
    // Past the last line break the rest of the text is the line still being written.
    if (!cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, static_cast<int>(count)))
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void ConsoleOutputView::showDroppedLines(std::int64_t count)
{
    if (count == m_droppedLines)
        return;
    const QString notice
        = QString::fromStdString("[... " + KivFormat::grouped(count) + " earlier lines dropped ...]");
    QTextCursor cursor(m_textView->document()->findBlockByNumber(headerBlocks));
    if (m_droppedLines > 0)
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor); // the notice shown so far
    cursor.insertText(notice, runFormat(Theme::monoFontBold(12), Theme::commandLineText()));
    if (m_droppedLines == 0)
        cursor.insertBlock();
    m_droppedLines = count;
}

void ConsoleOutputView::appendPieces(const std::vector<ConsoleLog::Piece>& pieces)
{
    if (pieces.empty())
        return;
    QTextCursor cursor(m_textView->document());
    cursor.movePosition(QTextCursor::End);
    // Neighbouring pieces of one stream go in together: every insertion costs a layout pass.
    for (std::size_t first = 0; first < pieces.size();) {
        std::string text;
        std::size_t next = first;
        for (; next < pieces.size() && pieces[next].stream == pieces[first].stream; ++next)
            text += pieces[next].text;
        cursor.insertText(QString::fromStdString(text), outputFormat(pieces[first].stream));
        first = next;
    }
    m_hadOutput = true;
    m_endsOpen = !pieces.back().text.ends_with('\n');
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
    if (!m_running && onDismiss)
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
    if (m_running) {
        if (isInterruptKey(*event) && onInterrupt)
            onInterrupt();
        return;
    }
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
