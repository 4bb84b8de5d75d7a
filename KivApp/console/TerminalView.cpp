#include "console/TerminalView.h"

#include "terminal/TerminalSession.h"
#include "toolkit/Theme.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QKeyEvent>
#include <QPainter>
#include <cmath>
#include <optional>

namespace kiv {

namespace {

constexpr int terminalFontSize = 12;
constexpr int textInset = 2; // as in the panels' rows
// About a screen's refresh: the most often the view redraws while a program floods it.
constexpr int frameMilliseconds = 16;
constexpr int wheelLines = 3;

qreal cellWidthOf(const QFont& font)
{
    return QFontMetricsF(font).horizontalAdvance(QLatin1Char('M'));
}

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

bool isPlainAscii(const TerminalCell& cell)
{
    return cell.width == 1 && cell.mark == 0 && cell.character >= 0x20 && cell.character < 0x7F;
}

bool sameStyle(const TerminalCell& a, const TerminalCell& b)
{
    return a.foreground == b.foreground && a.background == b.background && a.style == b.style;
}

} // namespace

// How a cell is drawn: its colours with reverse applied, and its font.
struct TerminalView::Style
{
    const QColor& ink;
    const QColor& paper;
    const QFont& font;
    std::uint8_t lines; // TerminalCell::underline and TerminalCell::strike
};

TerminalView::TerminalView(std::shared_ptr<TerminalSession> session, QWidget* parent)
    : QWidget(parent)
    , m_session(std::move(session))
    , m_font(Theme::monoFont(terminalFontSize))
    , m_boldFont(Theme::monoFontBold(terminalFontSize))
    , m_glyphs(m_font)
    , m_boldGlyphs(m_boldFont)
    , m_cellWidth(cellWidthOf(m_font))
    , m_coverage(m_font)
{
    const QFontMetricsF metrics(m_font);
    m_baseline = std::round((rowHeight - metrics.height()) / 2 + metrics.ascent());
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_frames.setInterval(frameMilliseconds);
    connect(&m_frames, &QTimer::timeout, this, &TerminalView::refresh);
    takeSnapshot();
}

TerminalView::AsciiGlyphs::AsciiGlyphs(const QFont& from)
    : font(QRawFont::fromFont(from))
{
    QString ascii;
    for (char16_t character = 0x20; character < 0x7F; ++character)
        ascii += QChar(character);
    const QList<quint32> found = font.glyphIndexesForString(ascii);
    std::copy_n(found.begin(), std::min<qsizetype>(found.size(), qsizetype(indexes.size())), indexes.begin());
}

PseudoTerminal::Size TerminalView::gridFor(QSize size)
{
    const qreal cellWidth = cellWidthOf(Theme::monoFont(terminalFontSize));
    return { std::max(1, size.height() / rowHeight),
        std::max(1, int(std::floor((size.width() - textInset) / cellWidth))) };
}

void TerminalView::refresh()
{
    if (m_session->changes() == m_shownChanges)
        return;
    takeSnapshot();
    update();
    if (onUpdate)
        onUpdate();
}

void TerminalView::takeSnapshot()
{
    // Read before copying: a change that comes meanwhile is shown at the next frame.
    m_shownChanges = m_session->changes();
    m_session->copyView(m_linesBackAsked, m_placedAt, m_snapshot);
    m_linesBackAsked = m_snapshot.linesBack;
    if (m_linesBackAsked > 0)
        m_placedAt = m_snapshot.pushed;
}

void TerminalView::scrollBy(int lines)
{
    takeSnapshot(); // from where the view stands now, not at the last frame
    m_linesBackAsked = std::size_t(std::max<std::int64_t>(0, std::int64_t(m_snapshot.linesBack) + lines));
    m_placedAt = m_snapshot.pushed;
    takeSnapshot();
    update();
    if (onUpdate)
        onUpdate();
}

bool TerminalView::scrollFor(const QKeyEvent& event)
{
    if (event.modifiers() != Qt::ShiftModifier || (event.key() != Qt::Key_PageUp && event.key() != Qt::Key_PageDown))
        return false;
    const int page = std::max(1, m_snapshot.rows - 1);
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
    if (m_snapshot.linesBack > 0)
        scrollBy(-int(m_snapshot.linesBack));
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
    return { std::clamp(int(point.y() / rowHeight), 0, std::max(0, m_snapshot.rows - 1)),
        std::clamp(int((point.x() - textInset) / m_cellWidth), 0, std::max(0, m_snapshot.columns - 1)) };
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

TerminalView::Style TerminalView::styleOf(const TerminalCell& cell) const
{
    const QColor& ink = cell.foreground == TerminalCell::defaultColour ? Theme::panelText()
                                                                       : Theme::terminalColor(cell.foreground);
    const QColor& paper = cell.background == TerminalCell::defaultColour
        ? Theme::commandLineBackground()
        : Theme::terminalColor(cell.background);
    const bool reverse = cell.style & TerminalCell::reverse;
    return { reverse ? paper : ink, reverse ? ink : paper, (cell.style & TerminalCell::bold) ? m_boldFont : m_font,
        std::uint8_t(cell.style & (TerminalCell::underline | TerminalCell::strike)) };
}

QRectF TerminalView::cellsRect(int row, int column, int count) const
{
    return { textInset + column * m_cellWidth, qreal(row * rowHeight), count * m_cellWidth, qreal(rowHeight) };
}

void TerminalView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.fillRect(rect(), Theme::commandLineBackground());
    for (int row = 0; row < m_snapshot.rows; ++row) {
        for (int column = 0; column < m_snapshot.columns;) {
            const TerminalCell& first = m_snapshot.at(row, column);
            if (!isPlainAscii(first)) {
                drawCell(painter, row, column);
                column += std::max<int>(1, first.width);
                continue;
            }
            int end = column + 1;
            while (end < m_snapshot.columns && isPlainAscii(m_snapshot.at(row, end))
                && sameStyle(m_snapshot.at(row, end), first))
                ++end;
            drawRun(painter, row, column, end);
            column = end;
        }
    }
    drawCursor(painter);
}

// A run of printable ASCII in one style is drawn as one run of glyphs, each placed on its cell.
void TerminalView::drawRun(QPainter& painter, int row, int column, int end) const
{
    const TerminalCell& first = m_snapshot.at(row, column);
    const AsciiGlyphs& glyphs = (first.style & TerminalCell::bold) ? m_boldGlyphs : m_glyphs;
    QList<quint32> indexes(end - column);
    QList<QPointF> positions(end - column);
    for (int at = column; at < end; ++at) {
        indexes[at - column] = glyphs.indexes[m_snapshot.at(row, at).character - 0x20];
        positions[at - column] = QPointF((at - column) * m_cellWidth, 0);
    }
    QGlyphRun run;
    run.setRawFont(glyphs.font);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    const QRectF cells = cellsRect(row, column, end - column);
    const Style style = styleOf(first);
    drawPaper(painter, cells, style);
    painter.drawGlyphRun(QPointF(cells.left(), cells.top() + m_baseline), run);
    drawLines(painter, cells, style);
}

void TerminalView::drawCell(QPainter& painter, int row, int column) const
{
    const TerminalCell& cell = m_snapshot.at(row, column);
    if (cell.width == 0)
        return; // the right half of a wide character, drawn with its left
    const Style style = styleOf(cell);
    const QRectF cells = cellsRect(row, column, std::min<int>(cell.width, m_snapshot.columns - column));
    if (cell.character == TerminalCell::placeholder) {
        drawText(painter, cells, QStringLiteral("?"), { style.paper, style.ink, style.font, style.lines });
        return;
    }
    const char32_t characters[] = { cell.character, cell.mark };
    const QString text = QString::fromUcs4(characters, cell.mark ? 2 : 1);
    if (m_coverage.canDraw(text)) {
        drawText(painter, cells, text, style);
        return;
    }
    painter.fillRect(cells, style.paper);
    painter.setPen(style.ink);
    painter.drawRect(cells.adjusted(1, 3, -2, -4));
}

void TerminalView::drawText(QPainter& painter, const QRectF& cells, const QString& text, const Style& style) const
{
    drawPaper(painter, cells, style);
    painter.setFont(style.font);
    painter.drawText(QPointF(cells.left(), cells.top() + m_baseline), text);
    drawLines(painter, cells, style);
}

// Fills the cells' background unless it is the console's own, and takes the ink.
void TerminalView::drawPaper(QPainter& painter, const QRectF& cells, const Style& style) const
{
    if (style.paper != Theme::commandLineBackground())
        painter.fillRect(cells, style.paper);
    painter.setPen(style.ink);
}

void TerminalView::drawLines(QPainter& painter, const QRectF& cells, const Style& style) const
{
    if (style.lines & TerminalCell::underline)
        painter.drawLine(QLineF(cells.left(), cells.top() + m_baseline + 1, cells.right() - 1, cells.top() + m_baseline + 1));
    if (style.lines & TerminalCell::strike)
        painter.drawLine(QLineF(cells.left(), cells.center().y(), cells.right() - 1, cells.center().y()));
}

void TerminalView::drawCursor(QPainter& painter) const
{
    if (!m_snapshot.cursorShown || m_snapshot.cursorRow >= m_snapshot.rows
        || m_snapshot.cursorColumn >= m_snapshot.columns)
        return;
    const TerminalCell& cell = m_snapshot.at(m_snapshot.cursorRow, m_snapshot.cursorColumn);
    const QRectF cells = cellsRect(m_snapshot.cursorRow, m_snapshot.cursorColumn, std::max<int>(1, cell.width));
    painter.fillRect(cells, Theme::cursorBackground());
    if (cell.width == 0 || cell.character == U' ')
        return;
    const char32_t characters[] = { cell.character == TerminalCell::placeholder ? U'?' : cell.character, cell.mark };
    drawText(painter, cells, QString::fromUcs4(characters, cell.mark ? 2 : 1),
        { Theme::cursorText(), Theme::cursorBackground(), styleOf(cell).font, 0 });
}

} // namespace kiv
