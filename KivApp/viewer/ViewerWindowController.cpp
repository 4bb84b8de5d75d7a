#include "viewer/ViewerWindowController.h"

#include "base/PathString.h"
#include "files/HexPager.h"
#include "files/HexSearch.h"
#include "text/KivFormat.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/ShownText.h"
#include "toolkit/Theme.h"
#include "viewer/HexView.h"
#include "viewer/ViewerTextDocument.h"

#include <QEvent>
#include <QLabel>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QShortcut>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QWidget>

namespace kiv {

namespace {

constexpr QSize viewerWindowSize { 720, 500 };

// How many bytes one step of a search through the dump reads: a few milliseconds from the cache.
constexpr std::int64_t dumpSearchStep = 8 << 20;

// A read-only, selectable text view in the panels' colours that wraps long lines at its edge.
QPlainTextEdit* makeTextView(QWidget* window)
{
    auto* view = new QPlainTextEdit(window);
    view->setReadOnly(true);
    // Keyboard selection would show a caret; without it the arrow and page keys scroll instead.
    view->setTextInteractionFlags(Qt::TextSelectableByMouse);
    view->setFont(ViewerTextDocument::font());
    QPalette colors = view->palette();
    colors.setColor(QPalette::Base, Theme::panelBackground());
    colors.setColor(QPalette::Text, Theme::panelText());
    view->setPalette(colors);
    view->setFrameShape(QFrame::NoFrame);
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return view;
}

// One line at the bottom in the key bar's colours.
QLabel* makeStatusLine(QWidget* window)
{
    auto* line = new QLabel(window);
    line->setFont(Theme::monoFont(12));
    line->setAutoFillBackground(true);
    QPalette colors = line->palette();
    colors.setColor(QPalette::Window, Theme::funcKeyLabelBG());
    colors.setColor(QPalette::WindowText, Theme::funcKeyLabelText());
    line->setPalette(colors);
    return line;
}

// Puts `document` (built by ViewerTextDocument) into `view`, in place of the one it showed: a text
// may be hundreds of megabytes, so the last one is not kept until the window closes. (The view's
// own first document goes with the view's setDocument.)
void setDisplayText(QPlainTextEdit* view, std::unique_ptr<QTextDocument> document)
{
    QTextDocument* shown = view->document();
    const bool shownIsOurs = shown->parent() == view;
    document->setParent(view);
    document->setDocumentLayout(new QPlainTextDocumentLayout(document.get()));
    view->setDocument(document.release());
    if (shownIsOurs)
        delete shown;
}

} // namespace

ViewerWindowController::ViewerWindowController(const std::string& filePath, PreviewText::Preview::Kind kind,
    std::unique_ptr<QTextDocument> text, std::optional<std::int64_t> size, Reread reread, QObject* parent)
    : QObject(parent)
    , m_filePath(filePath)
    , m_reread(std::move(reread))
    , m_window(std::make_unique<QWidget>())
{
    m_window->setWindowFlags(Qt::Window);
    m_window->setWindowTitle("View: " + ShownText::of(PathString::lastComponent(filePath)));
    m_window->resize(viewerWindowSize);
    QPalette colors = m_window->palette();
    colors.setColor(QPalette::Window, Theme::panelBackground());
    m_window->setPalette(colors);
    m_window->setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(m_window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    m_textView = makeTextView(m_window.get());
    layout->addWidget(m_textView);
    m_hexView = new HexView(m_window.get());
    layout->addWidget(m_hexView);
    m_statusLine = makeStatusLine(m_window.get());
    layout->addWidget(m_statusLine);
    m_statusStart = u' ' + ShownText::of(PathString::lastComponent(filePath))
        + (size ? QStringLiteral("   %1 bytes").arg(QString::fromStdString(KivFormat::grouped(*size))) : QString());
    connect(m_textView->verticalScrollBar(), &QScrollBar::valueChanged, this,
        &ViewerWindowController::updateStatusLine);
    connect(m_textView->verticalScrollBar(), &QScrollBar::rangeChanged, this,
        &ViewerWindowController::updateStatusLine);
    m_hexView->onScroll = [this] { updateStatusLine(); };
    m_searchTimer.setInterval(0);
    connect(&m_searchTimer, &QTimer::timeout, this, &ViewerWindowController::searchDumpOn);
    show(kind, std::move(text));
    bindKeys();
    m_window->installEventFilter(this);
}

// The dump is paged from the file, never held whole; the text is, and is dropped for the dump.
void ViewerWindowController::show(PreviewText::Preview::Kind kind, std::unique_ptr<QTextDocument> text)
{
    stopDumpSearch();
    auto pager = kind == PreviewText::Preview::Kind::hexDump ? std::make_unique<HexPager>(m_filePath) : nullptr;
    m_shownAsHex = pager && pager->isOpen();
    if (!m_shownAsHex && kind != PreviewText::Preview::Kind::text)
        text = ViewerTextDocument::build("(could not read file)", ViewerTextDocument::font());
    setDisplayText(m_textView, std::move(text));
    m_hexView->setPager(m_shownAsHex ? std::move(pager) : nullptr);
    m_textView->setVisible(!m_shownAsHex);
    m_hexView->setVisible(m_shownAsHex);
    (m_shownAsHex ? static_cast<QWidget*>(m_hexView) : m_textView)->setFocus();
    updateStatusLine();
}

// The name, the size, how far down the view is and whether it shows text or the dump.
void ViewerWindowController::updateStatusLine()
{
    if (m_dumpSearch) {
        m_statusLine->setText(
            m_statusStart + QStringLiteral("   Searching... %1% (Esc stops)").arg(m_dumpSearch->percentDone()));
        return;
    }
    const QScrollBar* bar = m_textView->verticalScrollBar();
    const auto [at, last] = m_shownAsHex ? std::pair { m_hexView->topLine(), m_hexView->lastTopLine() }
                                         : std::pair { std::int64_t(bar->value()), std::int64_t(bar->maximum()) };
    const std::int64_t percent = last <= 0 ? 100 : 100 * at / last;
    m_statusLine->setText(m_statusStart + QStringLiteral("   %1%   ").arg(percent)
        + (m_shownAsHex ? QStringLiteral("Hex") : QStringLiteral("Text")));
}

// The keys that open and leave the viewer close it; Home and End go to the ends of the text,
// which a view without a caret would not do by itself.
void ViewerWindowController::bindKeys()
{
    QWidget* window = m_window.get();
    const auto bind = [window](const QKeySequence& key, auto action) {
        connect(new QShortcut(key, window), &QShortcut::activated, window, action);
    };
    bind(Qt::Key_Escape, [this] { escape(); });
    for (const Qt::Key key : { Qt::Key_F3, Qt::Key_F10 })
        bind(key, [window] { window->close(); });
    bind(Qt::Key_Home, [this] { scrollToEnd(false); });
    bind(Qt::Key_End, [this] { scrollToEnd(true); });
    bind(Qt::Key_F7, [this] { m_searchText.isEmpty() ? askAndFind() : findNext(); });
    bind(QKeySequence(Qt::ControlModifier | Qt::Key_F), [this] { askAndFind(); });
    bind(QKeySequence(Qt::ShiftModifier | Qt::Key_F7), [this] { findNext(); });
    bind(Qt::Key_F4, [this] {
        m_reread(m_shownAsHex ? PreviewText::Form::text : PreviewText::Form::hexDump,
            [viewer = QPointer(this)](PreviewText::Preview::Kind kind, std::unique_ptr<QTextDocument> text) {
                if (viewer)
                    viewer->show(kind, std::move(text));
            });
    });
}

void ViewerWindowController::scrollToEnd(bool bottom)
{
    if (m_shownAsHex) {
        m_hexView->setTopLine(bottom ? m_hexView->lastTopLine() : 0);
        return;
    }
    QScrollBar* bar = m_textView->verticalScrollBar();
    bar->setValue(bottom ? bar->maximum() : bar->minimum());
}

// Esc stops a search through the dump first; only then does it close the window.
void ViewerWindowController::escape()
{
    if (m_dumpSearch) {
        stopDumpSearch();
        return;
    }
    m_window->close();
}

void ViewerWindowController::askAndFind()
{
    const std::optional<QString> typed = RetroDialogs::prompt(
        m_window.get(), QStringLiteral("Find"), QStringLiteral("Text to find:"), m_searchText);
    if (!typed || typed->isEmpty())
        return;
    m_searchText = *typed;
    findNext();
}

void ViewerWindowController::findNext()
{
    if (m_searchText.isEmpty() || m_dumpSearch)
        return;
    if (m_shownAsHex)
        findInDump();
    else
        findInText();
}

// Case is ignored, as users of a viewer expect; past the last match the search starts again
// from the top once, and a text found nowhere is said so.
void ViewerWindowController::findInText()
{
    if (m_textView->find(m_searchText))
        return;
    const QTextCursor kept = m_textView->textCursor();
    m_textView->moveCursor(QTextCursor::Start);
    if (m_textView->find(m_searchText))
        return;
    m_textView->setTextCursor(kept);
    tellNotFound();
}

// From just after the match shown, else from the first line in sight; the bytes typed are looked
// for as they are, so a name's bytes that are not UTF-8 are found too.
void ViewerWindowController::findInDump()
{
    const std::int64_t mark = m_hexView->markOffset();
    const std::int64_t top = m_hexView->topLine() * HexPager::bytesPerLine;
    const bool markInSight = mark >= top && mark < top + m_hexView->linesInSight() * HexPager::bytesPerLine;
    m_dumpSearch = std::make_unique<HexSearch>(
        *m_hexView->pager(), ShownText::bytesOf(m_searchText), markInSight ? mark + 1 : top);
    m_searchTimer.start();
    updateStatusLine();
}

// One step at a time, so the window keeps answering while a large file is searched.
void ViewerWindowController::searchDumpOn()
{
    if (!m_dumpSearch)
        return;
    switch (m_dumpSearch->step(dumpSearchStep)) {
    case HexSearch::State::going:
        updateStatusLine();
        return;
    case HexSearch::State::found:
        m_hexView->markBytes(m_dumpSearch->matchOffset(), m_dumpSearch->needleLength());
        stopDumpSearch();
        return;
    case HexSearch::State::notFound:
        stopDumpSearch();
        tellNotFound();
        return;
    }
}

void ViewerWindowController::stopDumpSearch()
{
    m_searchTimer.stop();
    m_dumpSearch.reset();
    updateStatusLine();
}

void ViewerWindowController::tellNotFound()
{
    RetroDialogs::message(
        m_window.get(), QStringLiteral("Find"), QStringLiteral("Not found: ") + m_searchText);
}

ViewerWindowController::~ViewerWindowController() = default;

void ViewerWindowController::showWindow()
{
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

bool ViewerWindowController::eventFilter(QObject* watched, QEvent* event)
{
    // Later, not now: the window is still inside its own close handling.
    if (watched == m_window.get() && event->type() == QEvent::Close)
        deleteLater();
    return QObject::eventFilter(watched, event);
}

} // namespace kiv
