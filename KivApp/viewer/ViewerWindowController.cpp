#include "viewer/ViewerWindowController.h"

#include "files/FilePreview.h"
#include "base/PathString.h"
#include "text/KivFormat.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/ShownText.h"
#include "toolkit/Theme.h"

#include <QEvent>
#include <QLabel>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QWidget>
#include <filesystem>

namespace kiv {

namespace {

constexpr QSize windowSize { 720, 500 };

// A text document pays for every block it holds, so the lines of a long text are gathered into
// blocks of this many, joined by line separators that show and copy as ordinary line breaks.
constexpr int linesPerBlock = 64;
constexpr qsizetype gatheringThreshold = 1 << 20;

// A read-only, selectable text view in the panels' colours that wraps long lines at its edge.
QPlainTextEdit* makeTextView(QWidget* window)
{
    auto* view = new QPlainTextEdit(window);
    view->setReadOnly(true);
    // Keyboard selection would show a caret; without it the arrow and page keys scroll instead.
    view->setTextInteractionFlags(Qt::TextSelectableByMouse);
    view->setFont(Theme::monoFont(12));
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

// A "\r\n" pair counts as one line break, as it does in a document, so it becomes one separator.
void gatherLinesIntoBlocks(QString& text)
{
    QChar* characters = text.data();
    const qsizetype size = text.size();
    qsizetype kept = 0;
    qsizetype lineBreaks = 0;
    for (qsizetype at = 0; at < size; ++at) {
        QChar character = characters[at];
        if (character == u'\r' && at + 1 < size && characters[at + 1] == u'\n')
            character = characters[++at];
        if (character == u'\n' && ++lineBreaks % linesPerBlock != 0)
            character = QChar::LineSeparator;
        characters[kept++] = character;
    }
    text.truncate(kept);
}

// Fills `view` with `text`. The document is built before the view sees it, so the view does not
// follow every inserted line; with the gathering above, a 50 MB log opens in well under a second.
void setDisplayText(QPlainTextEdit* view, QString text)
{
    if (text.size() > gatheringThreshold)
        gatherLinesIntoBlocks(text);
    auto* document = new QTextDocument(view);
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(view->font());
    document->setPlainText(text);
    document->setDocumentLayout(new QPlainTextDocumentLayout(document));
    view->setDocument(document);
}

} // namespace

ViewerWindowController::ViewerWindowController(const std::string& filePath, QObject* parent)
    : QObject(parent)
    , m_filePath(filePath)
    , m_window(std::make_unique<QWidget>())
{
    m_window->setWindowFlags(Qt::Window);
    m_window->setWindowTitle("View: " + ShownText::of(PathString::lastComponent(filePath)));
    m_window->resize(windowSize);
    QPalette colors = m_window->palette();
    colors.setColor(QPalette::Window, Theme::panelBackground());
    m_window->setPalette(colors);
    m_window->setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(m_window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    QPlainTextEdit* textView = makeTextView(m_window.get());
    layout->addWidget(textView);
    m_textView = textView;
    m_statusLine = makeStatusLine(m_window.get());
    layout->addWidget(m_statusLine);
    std::error_code unknown;
    const auto size = std::filesystem::file_size(filePath, unknown);
    m_statusStart = u' ' + ShownText::of(PathString::lastComponent(filePath))
        + (unknown ? QString()
                   : QStringLiteral("   %1 bytes")
                         .arg(QString::fromStdString(KivFormat::grouped(std::int64_t(size)))));
    connect(textView->verticalScrollBar(), &QScrollBar::valueChanged, this,
        &ViewerWindowController::updateStatusLine);
    connect(textView->verticalScrollBar(), &QScrollBar::rangeChanged, this,
        &ViewerWindowController::updateStatusLine);
    showAs(FilePreview::Form::judged);
    bindKeys(*textView);
    m_window->installEventFilter(this);
}

void ViewerWindowController::showAs(FilePreview::Form form)
{
    FilePreview::Preview preview = FilePreview::load(m_filePath, form);
    m_shownAsHex = preview.kind == FilePreview::Preview::Kind::hexDump;
    setDisplayText(m_textView,
        preview.kind == FilePreview::Preview::Kind::unreadable ? QStringLiteral("(could not read file)")
                                                               : QString::fromStdString(preview.content));
    updateStatusLine();
}

// The name, the size, how far down the view is and whether it shows text or the dump.
void ViewerWindowController::updateStatusLine()
{
    const QScrollBar* bar = m_textView->verticalScrollBar();
    const int percent = bar->maximum() <= bar->minimum() ? 100 : int(100LL * bar->value() / bar->maximum());
    m_statusLine->setText(m_statusStart + QStringLiteral("   %1%   ").arg(percent)
        + (m_shownAsHex ? QStringLiteral("Hex") : QStringLiteral("Text")));
}

// The keys that open and leave the viewer close it; Home and End go to the ends of the text,
// which a view without a caret would not do by itself.
void ViewerWindowController::bindKeys(QPlainTextEdit& textView)
{
    QWidget* window = m_window.get();
    const auto bind = [window](const QKeySequence& key, auto action) {
        connect(new QShortcut(key, window), &QShortcut::activated, window, action);
    };
    for (const Qt::Key key : { Qt::Key_Escape, Qt::Key_F3, Qt::Key_F10 })
        bind(key, [window] { window->close(); });
    QScrollBar* bar = textView.verticalScrollBar();
    bind(Qt::Key_Home, [bar] { bar->setValue(bar->minimum()); });
    bind(Qt::Key_End, [bar] { bar->setValue(bar->maximum()); });
    bind(Qt::Key_F7,
        [this, &textView] { m_searchText.isEmpty() ? askAndFind(textView) : findNext(textView); });
    bind(QKeySequence(Qt::ControlModifier | Qt::Key_F), [this, &textView] { askAndFind(textView); });
    bind(QKeySequence(Qt::ShiftModifier | Qt::Key_F7), [this, &textView] { findNext(textView); });
    bind(Qt::Key_F4, [this] { showAs(m_shownAsHex ? FilePreview::Form::text : FilePreview::Form::hexDump); });
}

void ViewerWindowController::askAndFind(QPlainTextEdit& textView)
{
    const std::optional<QString> typed = RetroDialogs::prompt(
        m_window.get(), QStringLiteral("Find"), QStringLiteral("Text to find:"), m_searchText);
    if (!typed || typed->isEmpty())
        return;
    m_searchText = *typed;
    findNext(textView);
}

// Case is ignored, as users of a viewer expect; past the last match the search starts again
// from the top once, and a text found nowhere is said so.
void ViewerWindowController::findNext(QPlainTextEdit& textView)
{
    if (m_searchText.isEmpty())
        return;
    if (textView.find(m_searchText))
        return;
    const QTextCursor kept = textView.textCursor();
    textView.moveCursor(QTextCursor::Start);
    if (textView.find(m_searchText))
        return;
    textView.setTextCursor(kept);
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
