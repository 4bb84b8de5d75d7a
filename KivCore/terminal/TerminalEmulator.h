#pragma once

#include "terminal/PlainTextScanner.h"
#include "terminal/RepeatRequestScanner.h"
#include "terminal/TerminalCell.h"
#include "terminal/TerminalKey.h"
#include "terminal/TerminalScreen.h"
#include "terminal/TerminalSnapshot.h"

#include <cstdint>
#include <functional>
#include <string_view>

struct VTerm;
struct VTermState;

namespace kiv {

// An xterm-like terminal built on libvterm: what a program writes to it changes a
// TerminalScreen, and the keys, pastes and mouse events given to it become the bytes the program
// reads. Colours come down to the 16 of TerminalPalette; titles, clipboard writes and other
// requests that would hand a program's text back to it or to the desktop are ignored. Not safe
// to use from two threads at once.
class TerminalEmulator
{
public:
    // Receives the bytes meant for the program: keys, pastes, mouse reports and the terminal's
    // answers to a program's questions (where the cursor is, what terminal this is).
    using ProgramInput = std::function<void(std::string_view bytes)>;

    // Lines kept above the screen.
    static constexpr std::size_t scrollbackLines = 10'000;

    // An empty terminal of `rows` by `columns` (each at least 1) sending its input to `toProgram`.
    // With `plainShortcut` false every byte goes through libvterm's parser, also runs of plain
    // text that are otherwise written straight into the cells: the same cells, more slowly.
    TerminalEmulator(int rows, int columns, ProgramInput toProgram, bool plainShortcut = true);
    TerminalEmulator(const TerminalEmulator&) = delete;
    TerminalEmulator& operator=(const TerminalEmulator&) = delete;
    ~TerminalEmulator();

    // Takes `bytes` the program wrote, in any pieces: escape sequences and UTF-8 characters may
    // be split between calls.
    void write(std::string_view bytes);
    // Writes a line of the console's own on a line of its own, bold in colour `colour` (0 to 15):
    // the command that runs, how it ended. Control characters in `text` show as placeholders.
    void writeNote(std::string_view text, int colour);

    // Sends `key` to the program as xterm encodes it, in the modes the program set.
    void pressKey(const TerminalKey& key);
    // Sends `text` as pasted: line breaks as Return, without control characters, and between the
    // bracketed-paste marks when the program asked for them.
    void paste(std::string_view text);
    // Returns whether the program asked for mouse reports.
    bool wantsMouse() const { return m_mouseMode != 0; }
    // Reports the mouse moved over cell `at`, when the program asked for mouse reports of the
    // kind; `modifiers` are TerminalKey's.
    void moveMouse(TerminalScreen::Position at, std::uint8_t modifiers);
    // Reports the mouse over cell `at` with `button` (1 to 3, 4 and 5 for the wheel) pressed or
    // released, when the program asked for mouse reports.
    void pressMouse(TerminalScreen::Position at, int button, bool pressed, std::uint8_t modifiers);

    // Changes the size to `rows` by `columns` (each at least 1).
    void resize(int rows, int columns);
    // Returns the cells.
    const TerminalScreen& screen() const { return m_screen; }
    // Returns the cursor's place on the screen.
    TerminalScreen::Position cursor() const { return m_cursor; }
    // Fills `snapshot` with the view `linesBack` lines up in the scrollback. A view placed up
    // there when the scrollback had pushed() == `pushedBefore` stays on the same lines while more
    // arrive; it is kept within the scrollback.
    void copyView(std::size_t linesBack, std::int64_t pushedBefore, TerminalSnapshot& snapshot) const;

private:
    struct Callbacks;

    std::size_t writePlain(std::string_view bytes);
    std::size_t writeThrough(std::string_view bytes);
    void toLibvterm(std::string_view bytes);
    void catchUp(TerminalScreen::Position from, const TerminalScreen::Position* lastPut, char lastCharacter);
    void penChanged();
    TerminalCell glyphCell(const std::uint32_t* characters, int width) const;
    TerminalCell blankCell() const;
    void sendCharacter(const TerminalKey& key);

    ProgramInput m_toProgram;
    TerminalScreen m_screen;
    VTerm* m_terminal;
    VTermState* m_state;
    TerminalCell m_pen; // the colours and style of what is written next, as the program set them
    TerminalCell m_glyphPen; // the same as drawn: bold made bright
    TerminalScreen::Position m_cursor;
    bool m_cursorVisible = true;
    int m_mouseMode = 0;
    const bool m_plainShortcut;
    PlainTextScanner m_scanner;
    bool m_noWrapPending = true; // known: libvterm wraps the next character only past the last column
    bool m_muted = false; // what libvterm puts is not for the screen: the shortcut put it already
    RepeatRequestScanner m_repeats;
    int m_lastGlyphWidth = 0; // of the character a repeat request would repeat; 0: none, or none of width
};

} // namespace kiv
