#include "panels/QuickView.h"

#include "base/PathString.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"
#include "quickview/QuickViewJob.h"
#include "quickview/QuickViewText.h"
#include "toolkit/RetroControls.h"
#include "toolkit/RetroPainting.h"
#include "toolkit/ShownText.h"
#include "toolkit/Theme.h"
#include "viewer/EditorTextView.h"

#include <QKeyEvent>

namespace kiv {

namespace {

constexpr int quickViewTitleHeight = 18;
constexpr qreal quickViewFontSize = 12;
// A summary that takes longer says how far its count has come, ten times a second.
constexpr int progressInterval = 100;

} // namespace

QuickView::QuickView(QWidget* parent)
    : BorderedPanel(parent)
    , m_title(RetroControls::label(
          {}, Theme::monoFontBold(), Theme::panelHeader(), Theme::panelHeaderBG(), Qt::AlignHCenter, this))
    , m_text(new EditorTextView(this))
{
    m_text->setFont(Theme::monoFont(quickViewFontSize));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFrameShape(QFrame::NoFrame);
    m_text->setReadOnly(true);
    // A caret the keys move, so the text scrolls as in the viewer.
    m_text->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    RetroPainting::setPaletteColor(*m_text, QPalette::Base, Theme::panelBackground());
    RetroPainting::setPaletteColor(*m_text, QPalette::Text, Theme::panelText());
    m_text->onEscape = [this] { stop(); };
    m_text->installEventFilter(this);
    m_progressTimer.setInterval(progressInterval);
    connect(&m_progressTimer, &QTimer::timeout, this, &QuickView::tick);
}

QuickView::~QuickView()
{
    for (auto& [id, running] : m_running)
        running.control->cancel();
    m_running.clear();
}

void QuickView::showItem(const std::string& path)
{
    cancelCurrent();
    m_title->setText(QStringLiteral(" Quick view: %1 ").arg(ShownText::of(PathString::lastComponent(path))));
    const std::uint64_t id = ++m_lastId;
    auto job = std::make_shared<QuickViewJob>(path);
    auto control = std::make_shared<JobControl>();
    // The end comes back through the event loop: the text changes on the UI thread only.
    auto thread = std::make_unique<JobThread>(job, control, [this, id](const JobOutcome&) {
        QMetaObject::invokeMethod(this, [this, id] { ended(id); }, Qt::QueuedConnection);
    });
    m_running.emplace(id, Running { std::move(job), std::move(control), std::move(thread) });
    m_current = id;
    m_progressTimer.start();
}

void QuickView::showText(const QString& title, const QString& text)
{
    cancelCurrent();
    m_title->setText(QStringLiteral(" Quick view: %1 ").arg(title));
    setText(text);
}

void QuickView::stop()
{
    if (cancelCurrent())
        setText(QStringLiteral("Stopped."));
}

bool QuickView::cancelCurrent()
{
    if (!isBusy())
        return false;
    // Its thread is left to notice the cancel on its own and is forgotten when it has ended.
    m_running.at(m_current).control->cancel();
    m_current = 0;
    m_progressTimer.stop();
    return true;
}

void QuickView::ended(std::uint64_t id)
{
    const auto found = m_running.find(id);
    if (found == m_running.end())
        return;
    Running ended = std::move(found->second);
    m_running.erase(found);
    ended.thread.reset(); // its thread has ended: this waits for no more than its last return
    if (id != m_current)
        return;
    m_current = 0;
    m_progressTimer.stop();
    setText(ShownText::of(QuickViewText::of(ended.job->summary())));
}

void QuickView::tick()
{
    if (isBusy())
        setText(ShownText::of(QuickViewText::counting(m_running.at(m_current).control->progress().itemsDone)));
}

void QuickView::setText(const QString& text)
{
    m_text->setPlainText(text);
    m_text->moveCursor(QTextCursor::Start);
}

QString QuickView::shownText() const
{
    return m_text->toPlainText();
}

QString QuickView::shownTitle() const
{
    return m_title->text();
}

void QuickView::focusText()
{
    m_text->setFocus(Qt::TabFocusReason);
}

void QuickView::resizeEvent(QResizeEvent* event)
{
    BorderedPanel::resizeEvent(event);
    m_title->setGeometry(1, 1, width() - 2, quickViewTitleHeight);
    m_text->setGeometry(1, 1 + quickViewTitleHeight, width() - 2, height() - 2 - quickViewTitleHeight);
}

// The text would take Tab as a focus move of its own; here it hands the keyboard back.
bool QuickView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_text && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && onTab) {
            onTab();
            return true;
        }
    }
    return BorderedPanel::eventFilter(watched, event);
}

} // namespace kiv
