#include "console/TerminalView.h"

#include "terminal/TerminalSession.h"
#include "toolkit/Theme.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <cmath>
#include <optional>

namespace kiv {

namespace {

// About a screen's refresh: the most often the view redraws while a program floods it.
constexpr int frameMilliseconds = 16;
constexpr int wheelLines = 3;

// The Control key as the terminal knows it: Qt calls it Meta on macOS.
constexpr Qt::KeyboardModifier controlKey =
#ifdef Q_OS_MACOS
    Qt::MetaModifier;
#else
    Qt::ControlModifier;
#endif

std::uint8_t modifiersOf(Qt::KeyboardModifiers modifiers)
{
    std::uint8_t held = 0;
    if (modifiers & Qt::ShiftModifier)
        held |= TerminalKey::shift;
    if (modifiers & Qt::AltModifier)
        held |= TerminalKey::alt;
    if (modifiers & controlKey)
        held |= TerminalKey::control;
    return held;
}

std::optional<TerminalKey::Name> namedKey(int key)
{
    using Name = TerminalKey::Name;
    switch (key) {
    case Qt::Key_Return:
        return Name::enter;
    case Qt::Key_Enter:
        return Name::keypadEnter;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return Name::tab;
    case Qt::Key_Backspace:
        return Name::backspace;
    case Qt::Key_Escape:
        return Name::escape;
    case Qt::Key_Up:
        return Name::up;
    case Qt::Key_Down:
        return Name::down;
    case Qt::Key_Left:
        return Name::left;
    case Qt::Key_Right:
        return Name::right;
    case Qt::Key_Insert:
        return Name::insert;
    case Qt::Key_Delete:
        return Name::deleteKey;
    case Qt::Key_Home:
        return Name::home;
    case Qt::Key_End:
        return Name::end;
    case Qt::Key_PageUp:
        return Name::pageUp;
    case Qt::Key_PageDown:
        return Name::pageDown;
    default:
        break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return Name::function;
    return std::nullopt;
}

// The keys `event` stands for: a named key, a character with Ctrl (the key's own, not the
// control character Qt makes of it), or the characters it typed.
std::vector<TerminalKey> terminalKeys(const QKeyEvent& event)
{
    std::uint8_t modifiers = modifiersOf(event.modifiers());
    const int key = event.key();
    if (const std::optional<TerminalKey::Name> name = namedKey(key)) {
        if (key == Qt::Key_Backtab)
            modifiers |= TerminalKey::shift;
        return { { *name, 0, *name == TerminalKey::Name::function ? key - Qt::Key_F1 + 1 : 0, modifiers } };
    }
    if ((modifiers & TerminalKey::control) && key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde) {
        const auto character = char32_t(key >= Qt::Key_A && key <= Qt::Key_Z ? key - Qt::Key_A + 'a' : key);
        return { { TerminalKey::Name::character, character, 0, modifiers } };
    }
    // The text already has Shift's effect.
    modifiers &= std::uint8_t(~TerminalKey::shift);
    std::vector<TerminalKey> keys;
    for (const char32_t character : event.text().toUcs4())
        if (character >= 0x20 && character != 0x7F)
            keys.push_back({ TerminalKey::Name::character, character, 0, modifiers });
    return keys;
}

int mouseButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::MiddleButton:
        return 2;
    case Qt::RightButton:
        return 3;
    default:
        return 0;
    }
}

} // namespace

TerminalView::TerminalView(std::shared_ptr<TerminalSession> session, QWidget* parent)
    : QWidget(parent)
    , m_session(std::move(session))
    , m_cellWidth(TerminalPainter::cellWidth())
    , m_renderer(m_session, [this] { QMetaObject::invokeMethod(this, &TerminalView::showFrame, Qt::QueuedConnection); })
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_frames.setInterval(frameMilliseconds);
    connect(&m_frames, &QTimer::timeout, this, &TerminalView::refresh);
    takeSnapshot();
}

PseudoTerminal::Size TerminalView::gridFor(QSize size)
{
    return { std::max(1, size.height() / rowHeight),
        std::max(1, int(std::floor((size.width() - TerminalPainter::textInset) / TerminalPainter::cellWidth()))) };
}

void TerminalView::refresh()
{
    // Read before the frame copies the view: a change that comes meanwhile is shown at the next.
    const std::uint64_t changes = m_session->changes();
    if (changes == m_askedChanges)
        return;
    m_askedChanges = changes;
    askFrame();
}

void TerminalView::askFrame()
{
    m_renderer.request({ m_linesBackAsked, m_placedAt, size(), devicePixelRatioF(), ++m_framesAsked });
}

void TerminalView::showFrame()
{
    if (!m_renderer.takeFrame(m_arrived) || m_arrived.number < m_firstCurrentFrame)
        return;
    std::swap(m_frame, m_arrived);
    keepPlace(m_frame.snapshot);
    update();
    if (onUpdate)
        onUpdate();
}

// Up in the scrollback the view stays on its lines while more arrive: it is placed anew where
// the last copy found them.
void TerminalView::keepPlace(const TerminalSnapshot& snapshot)
{
    m_linesBackAsked = snapshot.linesBack;
    if (m_linesBackAsked > 0)
        m_placedAt = snapshot.pushed;
}

// Copies the view at once, for a move or a resize the user made, and asks for its frame.
void TerminalView::takeSnapshot()
{
    m_askedChanges = m_session->changes();
    m_session->copyView(m_linesBackAsked, m_placedAt, m_frame.snapshot);
    keepPlace(m_frame.snapshot);
    m_firstCurrentFrame = m_framesAsked + 1;
    askFrame();
}

void TerminalView::scrollBy(int lines)
{
    takeSnapshot(); // from where the view stands now, not at the last frame
    m_linesBackAsked = std::size_t(std::max<std::int64_t>(0, std::int64_t(m_frame.snapshot.linesBack) + lines));
    m_placedAt = m_frame.snapshot.pushed;
    takeSnapshot();
    if (onUpdate)
        onUpdate();
}

bool TerminalView::scrollFor(const QKeyEvent& event)
{
    if (event.modifiers() != Qt::ShiftModifier || (event.key() != Qt::Key_PageUp && event.key() != Qt::Key_PageDown))
        return false;
    const int page = std::max(1, m_frame.snapshot.rows - 1);
    scrollBy(event.key() == Qt::Key_PageUp ? page : -page);
    return true;
}

void TerminalView::type(const QKeyEvent& event)
{
    if (event.modifiers() == Qt::ShiftModifier && event.key() == Qt::Key_Insert) {
        paste(QClipboard::Clipboard);
        return;
    }
    const std::vector<TerminalKey> keys = terminalKeys(event);
    if (keys.empty())
        return;
    if (m_frame.snapshot.linesBack > 0)
        scrollBy(-int(m_frame.snapshot.linesBack));
    for (const TerminalKey& key : keys)
        m_session->pressKey(key);
}

void TerminalView::paste(QClipboard::Mode mode)
{
    const QString text = QApplication::clipboard()->text(mode);
    if (!text.isEmpty())
        m_session->paste(text.toStdString());
}

TerminalScreen::Position TerminalView::cellAt(QPointF point) const
{
    const TerminalSnapshot& shown = m_frame.snapshot;
    return { std::clamp(int(point.y() / rowHeight), 0, std::max(0, shown.rows - 1)),
        std::clamp(int((point.x() - TerminalPainter::textInset) / m_cellWidth), 0, std::max(0, shown.columns - 1)) };
}

bool TerminalView::reportMouse(const QMouseEvent& event, bool pressed)
{
    const int button = mouseButton(event.button());
    if (button == 0 || !m_session->wantsMouse())
        return false;
    m_session->pressMouse(cellAt(event.position()), button, pressed, modifiersOf(event.modifiers()));
    return true;
}

void TerminalView::mousePressEvent(QMouseEvent* event)
{
    if (reportMouse(*event, true))
        return;
    // As in xterm, the middle button pastes the selection.
    if (event->button() == Qt::MiddleButton) {
        paste(QApplication::clipboard()->supportsSelection() ? QClipboard::Selection : QClipboard::Clipboard);
        return;
    }
    event->ignore(); // the console may want it
}

void TerminalView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!reportMouse(*event, false))
        event->ignore();
}

void TerminalView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_session->wantsMouse())
        m_session->moveMouse(cellAt(event->position()), modifiersOf(event->modifiers()));
}

void TerminalView::wheelEvent(QWheelEvent* event)
{
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0)
        return;
    if (m_session->wantsMouse()) {
        for (int notch = 0; notch < std::abs(notches); ++notch)
            m_session->pressMouse(cellAt(event->position()), notches > 0 ? 4 : 5, true,
                modifiersOf(event->modifiers()));
        return;
    }
    scrollBy(notches * wheelLines);
}

void TerminalView::resizeEvent(QResizeEvent*)
{
    m_session->resize(gridFor(size()));
    takeSnapshot();
}

void TerminalView::showEvent(QShowEvent*)
{
    takeSnapshot();
    m_frames.start();
}

void TerminalView::hideEvent(QHideEvent*)
{
    m_frames.stop();
}

void TerminalView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_frame.image);
    // Until a frame as big as the view is drawn, what it does not cover is the console's background.
    const QSize covered = m_frame.image.deviceIndependentSize().toSize().boundedTo(size());
    painter.fillRect(covered.width(), 0, width() - covered.width(), height(), Theme::commandLineBackground());
    painter.fillRect(0, covered.height(), covered.width(), height() - covered.height(), Theme::commandLineBackground());
}

} // namespace kiv
