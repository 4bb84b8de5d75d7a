#include "terminal/TerminalEmulator.h"

#include "terminal/TerminalPalette.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unicode/uchar.h>
#include <unicode/utf8.h>
#include <vterm.h>

namespace kiv {

namespace {

void appendUtf8(std::string& bytes, char32_t character)
{
    char encoded[U8_MAX_LENGTH];
    int length = 0;
    U8_APPEND_UNSAFE(encoded, length, character);
    bytes.append(encoded, std::size_t(length));
}

// Whether `character` would draw nothing or move the pen: such characters show as placeholders,
// as in the panels.
bool isPlaceholder(char32_t character)
{
    if (character >= 0x20 && character < 0x7F)
        return false;
    switch (u_charType(UChar32(character))) {
    case U_CONTROL_CHAR:
    case U_FORMAT_CHAR:
    case U_LINE_SEPARATOR:
    case U_PARAGRAPH_SEPARATOR:
    case U_UNASSIGNED:
        return true;
    default:
        return character == TerminalCell::placeholder;
    }
}

std::uint8_t paletteIndex(const VTermColor& colour)
{
    if (VTERM_COLOR_IS_DEFAULT_FG(&colour) || VTERM_COLOR_IS_DEFAULT_BG(&colour))
        return TerminalCell::defaultColour;
    if (VTERM_COLOR_IS_INDEXED(&colour))
        return TerminalPalette::ofXterm256(colour.indexed.idx);
    return TerminalPalette::nearest({ colour.rgb.red, colour.rgb.green, colour.rgb.blue });
}

// The control character xterm sends for Ctrl and `character`, if there is one.
std::optional<char32_t> controlCode(char32_t character)
{
    if (character >= U'a' && character <= U'z')
        return character - U'a' + 1;
    if (character >= U'@' && character <= U'_')
        return character - U'@';
    switch (character) {
    case U' ':
    case U'2':
        return 0;
    case U'3':
        return 0x1B;
    case U'4':
        return 0x1C;
    case U'5':
        return 0x1D;
    case U'6':
        return 0x1E;
    case U'7':
    case U'/':
        return 0x1F;
    case U'8':
    case U'?':
        return 0x7F;
    default:
        return std::nullopt;
    }
}

VTermModifier vtermModifiers(std::uint8_t modifiers)
{
    int mask = VTERM_MOD_NONE;
    if (modifiers & TerminalKey::shift)
        mask |= VTERM_MOD_SHIFT;
    if (modifiers & TerminalKey::alt)
        mask |= VTERM_MOD_ALT;
    if (modifiers & TerminalKey::control)
        mask |= VTERM_MOD_CTRL;
    return VTermModifier(mask);
}

VTermKey vtermKey(const TerminalKey& key)
{
    using Name = TerminalKey::Name;
    switch (key.name) {
    case Name::enter:
        return VTERM_KEY_ENTER;
    case Name::tab:
        return VTERM_KEY_TAB;
    case Name::backspace:
        return VTERM_KEY_BACKSPACE;
    case Name::escape:
        return VTERM_KEY_ESCAPE;
    case Name::up:
        return VTERM_KEY_UP;
    case Name::down:
        return VTERM_KEY_DOWN;
    case Name::left:
        return VTERM_KEY_LEFT;
    case Name::right:
        return VTERM_KEY_RIGHT;
    case Name::insert:
        return VTERM_KEY_INS;
    case Name::deleteKey:
        return VTERM_KEY_DEL;
    case Name::home:
        return VTERM_KEY_HOME;
    case Name::end:
        return VTERM_KEY_END;
    case Name::pageUp:
        return VTERM_KEY_PAGEUP;
    case Name::pageDown:
        return VTERM_KEY_PAGEDOWN;
    case Name::function:
        return VTermKey(VTERM_KEY_FUNCTION(key.function));
    case Name::keypadEnter:
        return VTERM_KEY_KP_ENTER;
    case Name::character:
        break;
    }
    return VTERM_KEY_NONE;
}

// The part of `rect` on `screen`: libvterm may name rows that are not there, after a resize that
// left a scrolling region below the screen.
TerminalScreen::Rect rectOn(const TerminalScreen& screen, VTermRect rect)
{
    const int top = std::clamp(rect.start_row, 0, screen.rows());
    const int left = std::clamp(rect.start_col, 0, screen.columns());
    return { top, std::clamp(rect.end_row, top, screen.rows()), left, std::clamp(rect.end_col, left, screen.columns()) };
}

bool isWhole(TerminalScreen::Rect clipped, VTermRect rect)
{
    return clipped.top == rect.start_row && clipped.bottom == rect.end_row && clipped.left == rect.start_col
        && clipped.right == rect.end_col;
}

void appendCursorMove(std::string& bytes, TerminalScreen::Position to)
{
    bytes += "\x1b[" + std::to_string(to.row + 1) + ';' + std::to_string(to.column + 1) + 'H';
}

} // namespace

// libvterm's state layer calls these; the screen layer it also has copies every cell of the
// screen on each scrolled line, which a flood of output cannot afford.
struct TerminalEmulator::Callbacks
{
    static TerminalEmulator& of(void* user) { return *static_cast<TerminalEmulator*>(user); }

    // Called for every character a program writes: the common one, printable ASCII, goes the
    // shortest way.
    static int putGlyph(VTermGlyphInfo* glyph, VTermPos at, void* user)
    {
        TerminalEmulator& terminal = of(user);
        terminal.m_lastGlyphWidth = glyph->width;
        if (terminal.m_muted)
            return 1;
        const std::uint32_t character = glyph->chars[0];
        if (character >= 0x20 && character < 0x7F && glyph->chars[1] == 0) {
            terminal.m_screen.putNarrow({ at.row, at.col }, character, terminal.m_glyphPen);
        } else {
            terminal.m_screen.put({ at.row, at.col }, terminal.glyphCell(glyph->chars, glyph->width));
        }
        return 1;
    }
    static int moveCursor(VTermPos at, VTermPos, int visible, void* user)
    {
        of(user).m_cursor = { at.row, at.col };
        of(user).m_cursorVisible = visible != 0;
        return 1;
    }
    static int scrollRect(VTermRect rect, int downward, int rightward, void* user)
    {
        TerminalScreen& screen = of(user).m_screen;
        screen.scroll(rectOn(screen, rect), downward, rightward, of(user).blankCell());
        return 1;
    }
    static int moveRect(VTermRect destination, VTermRect source, void* user)
    {
        TerminalScreen& screen = of(user).m_screen;
        const TerminalScreen::Rect to = rectOn(screen, destination);
        const TerminalScreen::Rect from = rectOn(screen, source);
        if (isWhole(to, destination) && isWhole(from, source))
            screen.move(to, from);
        return 1;
    }
    static int erase(VTermRect rect, int, void* user)
    {
        of(user).m_screen.erase(rectOn(of(user).m_screen, rect), of(user).blankCell());
        return 1;
    }
    static int initPen(void* user)
    {
        of(user).m_pen = {};
        of(user).penChanged();
        return 1;
    }
    static int setPenAttribute(VTermAttr attribute, VTermValue* value, void* user)
    {
        TerminalCell& pen = of(user).m_pen;
        const auto setStyle = [&](std::uint8_t bit, bool on) {
            pen.style = std::uint8_t(on ? pen.style | bit : pen.style & ~bit);
        };
        switch (attribute) {
        case VTERM_ATTR_BOLD:
            setStyle(TerminalCell::bold, value->boolean);
            break;
        case VTERM_ATTR_UNDERLINE:
            setStyle(TerminalCell::underline, value->number != VTERM_UNDERLINE_OFF);
            break;
        case VTERM_ATTR_ITALIC:
            setStyle(TerminalCell::italic, value->boolean);
            break;
        case VTERM_ATTR_BLINK:
            setStyle(TerminalCell::blink, value->boolean);
            break;
        case VTERM_ATTR_REVERSE:
            setStyle(TerminalCell::reverse, value->boolean);
            break;
        case VTERM_ATTR_STRIKE:
            setStyle(TerminalCell::strike, value->boolean);
            break;
        case VTERM_ATTR_FOREGROUND:
            pen.foreground = paletteIndex(value->color);
            break;
        case VTERM_ATTR_BACKGROUND:
            pen.background = paletteIndex(value->color);
            break;
        default:
            break;
        }
        of(user).penChanged();
        return 1;
    }
    static int setProperty(VTermProp property, VTermValue* value, void* user)
    {
        TerminalEmulator& terminal = of(user);
        switch (property) {
        case VTERM_PROP_CURSORVISIBLE:
            terminal.m_cursorVisible = value->boolean;
            break;
        case VTERM_PROP_ALTSCREEN:
            terminal.m_screen.useAlternate(value->boolean);
            break;
        case VTERM_PROP_MOUSE:
            terminal.m_mouseMode = value->number;
            break;
        default:
            break; // a title, the cursor's shape: the console keeps its own
        }
        return 1;
    }
    static int resize(int rows, int columns, VTermPos* delta, void* user)
    {
        TerminalEmulator& terminal = of(user);
        delta->row += terminal.m_screen.resize(rows, columns, terminal.m_cursor.row);
        return 1;
    }
    static void output(const char* bytes, std::size_t length, void* user)
    {
        if (of(user).m_toProgram)
            of(user).m_toProgram(std::string_view(bytes, length));
    }
};

TerminalEmulator::TerminalEmulator(int rows, int columns, ProgramInput toProgram, bool plainShortcut)
    : m_toProgram(std::move(toProgram))
    , m_screen(rows, columns, scrollbackLines)
    , m_terminal(vterm_new(rows, columns))
    , m_state(vterm_obtain_state(m_terminal))
    , m_plainShortcut(plainShortcut)
{
    penChanged();
    static const VTermStateCallbacks callbacks {
        .putglyph = &Callbacks::putGlyph,
        .movecursor = &Callbacks::moveCursor,
        .scrollrect = &Callbacks::scrollRect,
        .moverect = &Callbacks::moveRect,
        .erase = &Callbacks::erase,
        .initpen = &Callbacks::initPen,
        .setpenattr = &Callbacks::setPenAttribute,
        .settermprop = &Callbacks::setProperty,
        .bell = nullptr,
        .resize = &Callbacks::resize,
        .setlineinfo = nullptr,
    };
    vterm_set_utf8(m_terminal, 1);
    vterm_output_set_callback(m_terminal, &Callbacks::output, this);
    vterm_state_set_callbacks(m_state, &callbacks, this);
    vterm_state_reset(m_state, 1);
}

TerminalEmulator::~TerminalEmulator()
{
    vterm_free(m_terminal);
}

void TerminalEmulator::write(std::string_view bytes)
{
    if (!m_plainShortcut) {
        toLibvterm(bytes);
        return;
    }
    while (!bytes.empty()) {
        std::size_t written = writePlain(bytes);
        if (written == 0)
            written = writeThrough(bytes);
        bytes.remove_prefix(written);
    }
}

// libvterm's parser costs more than the rest of the terminal: a run of plain text, the bulk of a
// flood, is put into the cells here the way libvterm puts it, and libvterm is told the outcome.
// Only while no wrap is pending: whether one is cannot be asked of libvterm.
std::size_t TerminalEmulator::writePlain(std::string_view bytes)
{
    const std::size_t run = m_scanner.plainRun(bytes);
    const int rows = m_screen.rows();
    const int columns = m_screen.columns();
    if (run == 0 || !m_noWrapPending || columns < 3)
        return 0;
    const TerminalScreen::Position from = m_cursor;
    TerminalScreen::Position at = m_cursor;
    TerminalScreen::Position lastPut;
    char lastCharacter = 0;
    std::size_t used = 0;
    while (used < run) {
        const char byte = bytes[used];
        if (byte == '\r' || byte == '\n') {
            if (byte == '\r')
                at.column = 0;
            else if (at.row + 1 < rows)
                ++at.row;
            else
                m_screen.scroll({ 0, rows, 0, columns }, 1, 0, blankCell());
            ++used;
            continue;
        }
        // The characters up to a line break or the last column.
        std::size_t end = used;
        while (end < run && int(end - used) < columns - at.column && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        m_screen.putAscii(at, bytes.substr(used, end - used), m_glyphPen);
        lastPut = { at.row, at.column + int(end - used) - 1 };
        lastCharacter = bytes[end - 1];
        used = end;
        if (lastPut.column + 1 == columns) {
            at = lastPut;
            break; // libvterm wraps before the next character: its turn
        }
        at.column = lastPut.column + 1;
    }
    m_cursor = at;
    catchUp(from, lastCharacter ? &lastPut : nullptr, lastCharacter);
    return used;
}

// Moves libvterm's cursor from `from` to where the shortcut left it. The last character put
// there, `lastCharacter` at `lastPut`, is put again, unseen: libvterm then knows what a combining
// mark that follows goes with, and whether a wrap is pending.
void TerminalEmulator::catchUp(TerminalScreen::Position from, const TerminalScreen::Position* lastPut, char lastCharacter)
{
    std::string bytes;
    TerminalScreen::Position libvtermAt = from;
    if (lastPut) {
        appendCursorMove(bytes, *lastPut);
        bytes += lastCharacter;
        libvtermAt = { lastPut->row, std::min(lastPut->column + 1, m_screen.columns() - 1) };
    }
    const TerminalScreen::Position cursor = m_cursor;
    if (libvtermAt != cursor)
        appendCursorMove(bytes, cursor);
    m_muted = true;
    vterm_input_write(m_terminal, bytes.data(), bytes.size());
    m_muted = false;
    m_noWrapPending = !lastPut || lastPut->column + 1 < m_screen.columns();
}

// Hands bytes to libvterm up to where a run of plain text begins. Whether they leave a wrap
// pending is known only for a plain printable character or carriage return alone, one that
// leaves the cursor short of the last column.
std::size_t TerminalEmulator::writeThrough(std::string_view bytes)
{
    const bool plain = m_scanner.plainRun(bytes.substr(0, 1)) == 1;
    const std::size_t length = m_scanner.skip(bytes);
    toLibvterm(bytes.substr(0, length));
    m_noWrapPending = plain && length == 1 && bytes.front() != '\n' && m_cursor.column + 1 < m_screen.columns();
    return length;
}

// libvterm 0.1.4 repeats a character of no width for ever, and after a reset it has none to
// repeat: such a repeat request is cancelled (CAN) instead of handed on.
void TerminalEmulator::toLibvterm(std::string_view bytes)
{
    constexpr char cancel = 0x18;
    while (!bytes.empty()) {
        const RepeatRequestScanner::Stretch stretch = m_repeats.next(bytes);
        vterm_input_write(m_terminal, bytes.data(), stretch.length);
        bytes.remove_prefix(stretch.length);
        if (stretch.stop == RepeatRequestScanner::Stop::reset)
            m_lastGlyphWidth = 0;
        if (stretch.stop == RepeatRequestScanner::Stop::repeat) {
            const char final = m_lastGlyphWidth > 0 ? 'b' : cancel;
            vterm_input_write(m_terminal, &final, 1);
            bytes.remove_prefix(1);
        }
    }
}

void TerminalEmulator::writeNote(std::string_view text, int colour)
{
    // The ASCII character set and the plain pen first: the program may have left others chosen.
    std::string bytes = m_cursor.column > 0 ? "\r\n" : "";
    bytes += "\x1b(B\x0f\x1b[0;1;" + std::to_string(colour < 8 ? 30 + colour : 90 + colour - 8) + "m";
    for (const char byte : text) {
        if (static_cast<unsigned char>(byte) < 0x20 || byte == 0x7F)
            appendUtf8(bytes, TerminalCell::placeholder);
        else
            bytes += byte;
    }
    bytes += "\x1b[0m\r\n";
    write(bytes);
}

void TerminalEmulator::penChanged()
{
    m_glyphPen = m_pen;
    // Bold is bright, as on a DOS screen, whichever of the two the program chose first.
    if ((m_glyphPen.style & TerminalCell::bold) && m_glyphPen.foreground < 8)
        m_glyphPen.foreground = std::uint8_t(m_glyphPen.foreground + 8);
}

TerminalCell TerminalEmulator::glyphCell(const std::uint32_t* characters, int width) const
{
    TerminalCell cell = m_glyphPen;
    cell.character = characters[0];
    cell.mark = characters[0] != 0 ? characters[1] : 0;
    cell.width = std::uint8_t(std::clamp(width, 1, 2));
    if (isPlaceholder(cell.character)) {
        cell.character = TerminalCell::placeholder;
        cell.mark = 0;
    }
    return cell;
}

TerminalCell TerminalEmulator::blankCell() const
{
    TerminalCell blank;
    blank.background = m_pen.background;
    return blank;
}

void TerminalEmulator::pressKey(const TerminalKey& key)
{
    if (key.name == TerminalKey::Name::character)
        sendCharacter(key);
    else if (key.name == TerminalKey::Name::function && (key.function < 1 || key.function > 12))
        return;
    else
        vterm_keyboard_key(m_terminal, vtermKey(key), vtermModifiers(key.modifiers));
}

// Not libvterm's: for Ctrl with I, J, M and [ it sends sequences xterm does not, where xterm sends
// Tab, line feed, Return and Escape, the codes programs expect.
void TerminalEmulator::sendCharacter(const TerminalKey& key)
{
    char32_t character = key.character;
    if (key.modifiers & TerminalKey::control)
        character = controlCode(character).value_or(character);
    std::string bytes = (key.modifiers & TerminalKey::alt) ? "\x1b" : "";
    appendUtf8(bytes, character);
    if (m_toProgram)
        m_toProgram(bytes);
}

void TerminalEmulator::paste(std::string_view text)
{
    std::string typed;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
            continue; // the \n that follows is the line break
        if (byte == '\n' || byte == '\r')
            typed += '\r';
        else if (byte == '\t' || (byte >= 0x20 && byte != 0x7F))
            typed += char(byte);
    }
    vterm_keyboard_start_paste(m_terminal);
    if (m_toProgram)
        m_toProgram(typed);
    vterm_keyboard_end_paste(m_terminal);
}

void TerminalEmulator::moveMouse(TerminalScreen::Position at, std::uint8_t modifiers)
{
    if (wantsMouse())
        vterm_mouse_move(m_terminal, at.row, at.column, vtermModifiers(modifiers));
}

void TerminalEmulator::pressMouse(TerminalScreen::Position at, int button, bool pressed, std::uint8_t modifiers)
{
    if (!wantsMouse())
        return;
    vterm_mouse_move(m_terminal, at.row, at.column, vtermModifiers(modifiers));
    vterm_mouse_button(m_terminal, button, pressed, vtermModifiers(modifiers));
}

void TerminalEmulator::resize(int rows, int columns)
{
    if (rows == m_screen.rows() && columns == m_screen.columns())
        return;
    vterm_set_size(m_terminal, rows, columns);
    VTermPos cursor;
    vterm_state_get_cursorpos(m_state, &cursor);
    m_cursor = { cursor.row, cursor.col };
}

void TerminalEmulator::copyView(std::size_t linesBack, std::int64_t pushedBefore, TerminalSnapshot& snapshot) const
{
    const TerminalScrollback& scrollback = m_screen.scrollback();
    if (linesBack > 0)
        linesBack += std::size_t(std::max<std::int64_t>(0, scrollback.pushed() - pushedBefore));
    linesBack = std::min(linesBack, scrollback.size());
    snapshot.rows = m_screen.rows();
    snapshot.columns = m_screen.columns();
    m_screen.copyView(linesBack, snapshot.cells);
    snapshot.cursorRow = m_cursor.row + int(linesBack);
    snapshot.cursorColumn = m_cursor.column;
    snapshot.cursorShown = m_cursorVisible && linesBack == 0;
    snapshot.linesBack = linesBack;
    snapshot.scrollbackLines = scrollback.size();
    snapshot.pushed = scrollback.pushed();
}

} // namespace kiv
