#include "terminal/TerminalEmulator.h"

#include "TerminalText.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

using namespace kiv;
using namespace kiv::test;

namespace {

using Name = TerminalKey::Name;

// A terminal with nothing behind it: what it would send to a program is collected.
class TerminalEmulatorTest : public ::testing::Test
{
protected:
    std::string sent(const TerminalKey& key)
    {
        m_sent.clear();
        m_terminal.pressKey(key);
        return m_sent;
    }
    std::string typed(char32_t character, std::uint8_t modifiers = 0)
    {
        return sent({ Name::character, character, 0, modifiers });
    }
    std::string screen() const
    {
        TerminalSnapshot snapshot;
        m_terminal.copyView(0, 0, snapshot);
        return terminalText(snapshot);
    }

    std::string m_sent;
    TerminalEmulator m_terminal { 5, 10, [this](std::string_view bytes) { m_sent.append(bytes); } };
};

// Something a program writes: mostly plain text and line breaks, among the sequences and bytes
// that change how text is placed or that a run of plain text must not be taken from.
std::string programOutput()
{
    static const std::vector<std::string> others { "\r", "\n", "\r\n", "\t", "\b", "\a", "\x1b[0m",
        "\x1b[1;31m", "\x1b[38;5;200;48;2;1;2;3m", "\x1b[7m", "\x1b[2;3H", "\x1b[9C", "\x1b[A", "\x1b[K",
        "\x1b[2J", "\x1b[1;2r", "\x1b[2;3r", "\x1b[r", "\x1b[?1049h", "\x1b[?1049l", "\x1b[?7l", "\x1b[?7h", "\x1b[4h",
        "\x1b[4l", "\x1b(0", "\x1b(B", "\x0e", "\x0f", "\x1b]0;title\a", "\x1b[?6h", "\x1b#6", "\x7f",
        "\u4e2d", "\u00e9", "\xcc\x81", "\xff", "\xc3", "\xe2\x82", "\x1b[", "\x1b", "\x1b[12" };
    if (*rc::gen::inRange(0, 12) == 0) // bytes a UTF-8 character is made of, or controls that stay plain
        return *rc::gen::container<std::string>(*rc::gen::inRange<std::size_t>(1, 4),
            rc::gen::element<char>('\a', '\b', '\t', '\x0f', '\x80', '\xbf', '\xc2', '\xe0', '\xf0', '\xf8', '\xfe'));
    if (*rc::gen::inRange(0, 3) > 0) {
        const std::size_t length = *rc::gen::inRange<std::size_t>(0, 40);
        return *rc::gen::container<std::string>(length, rc::gen::inRange<char>(0x20, 0x7F));
    }
    return others[*rc::gen::inRange<std::size_t>(0, others.size())];
}

// Everything a terminal keeps, cell by cell: the screen, the cursor and the scrollback.
std::string everything(const TerminalEmulator& terminal)
{
    std::string kept = "cursor " + std::to_string(terminal.cursor().row) + "," + std::to_string(terminal.cursor().column);
    const TerminalScrollback& scrollback = terminal.screen().scrollback();
    std::vector<TerminalCell> line(std::size_t(terminal.screen().columns()));
    const auto keep = [&](const std::vector<TerminalCell>& cells) {
        kept += '\n';
        for (const TerminalCell& cell : cells)
            kept += std::to_string(cell.character) + "/" + std::to_string(cell.mark) + "/" + std::to_string(cell.foreground)
                + "/" + std::to_string(cell.background) + "/" + std::to_string(cell.style) + "/"
                + std::to_string(cell.width) + " ";
    };
    for (std::size_t back = scrollback.size(); back-- > 0;) {
        scrollback.copyLine(back, line.data(), terminal.screen().columns());
        keep(line);
    }
    for (int row = 0; row < terminal.screen().rows(); ++row)
        keep(terminal.screen().line(row));
    return kept;
}

constexpr std::uint8_t control = TerminalKey::control;
constexpr std::uint8_t alt = TerminalKey::alt;
constexpr std::uint8_t shift = TerminalKey::shift;

} // namespace

TEST_F(TerminalEmulatorTest, KeysGoToTheProgramAsXtermSendsThemInTheModesTheProgramSet)
{
    EXPECT_EQ(typed(U'a'), "a");
    EXPECT_EQ(typed(U'\u00e9'), "\u00e9");
    EXPECT_EQ(typed(U'c', control), "\x03");
    EXPECT_EQ(typed(U'C', control | shift), "\x03");
    EXPECT_EQ(typed(U'i', control), "\t");
    EXPECT_EQ(typed(U'j', control), "\n");
    EXPECT_EQ(typed(U'm', control), "\r");
    EXPECT_EQ(typed(U'[', control), "\x1b");
    EXPECT_EQ(typed(U'\\', control), "\x1c");
    EXPECT_EQ(typed(U' ', control), std::string(1, '\0'));
    EXPECT_EQ(typed(U'?', control), "\x7f");
    EXPECT_EQ(typed(U'1', control), "1");
    EXPECT_EQ(typed(U'x', alt), "\x1bx");
    EXPECT_EQ(typed(U'a', control | alt), "\x1b\x01");

    EXPECT_EQ(sent({ Name::enter }), "\r");
    EXPECT_EQ(sent({ Name::tab }), "\t");
    EXPECT_EQ(sent({ Name::tab, 0, 0, shift }), "\x1b[Z");
    EXPECT_EQ(sent({ Name::backspace }), "\x7f");
    EXPECT_EQ(sent({ Name::escape }), "\x1b");
    EXPECT_EQ(sent({ Name::up }), "\x1b[A");
    EXPECT_EQ(sent({ Name::left, 0, 0, control }), "\x1b[1;5D");
    EXPECT_EQ(sent({ Name::home }), "\x1b[H");
    EXPECT_EQ(sent({ Name::insert }), "\x1b[2~");
    EXPECT_EQ(sent({ Name::deleteKey }), "\x1b[3~");
    EXPECT_EQ(sent({ Name::pageDown }), "\x1b[6~");
    EXPECT_EQ(sent({ Name::function, 0, 1 }), "\x1bOP");
    EXPECT_EQ(sent({ Name::function, 0, 5 }), "\x1b[15~");
    EXPECT_EQ(sent({ Name::function, 0, 12 }), "\x1b[24~");
    EXPECT_EQ(sent({ Name::function, 0, 13 }), "");

    // A full-screen program asks for the cursor keys' other form.
    m_terminal.write("\x1b[?1h");
    EXPECT_EQ(sent({ Name::up }), "\x1bOA");
}

TEST_F(TerminalEmulatorTest, APasteIsTypedWithoutControlCharactersAndBracketedOnlyWhenAsked)
{
    m_terminal.paste("a\r\nb\nc\x1b[201~\x03" "d\te");
    EXPECT_EQ(m_sent, "a\rb\rc[201~d\te");
    m_sent.clear();
    m_terminal.write("\x1b[?2004h");
    m_terminal.paste("x\n");
    EXPECT_EQ(m_sent, "\x1b[200~x\r\x1b[201~");
}

TEST_F(TerminalEmulatorTest, WhatAProgramWritesNeverReachesTheClipboardTheTitleOrItsOwnInput)
{
    m_terminal.write("\x1b[3b"); // a repeat before any character: nothing to repeat, but it ends
    // Nor after a character of no width, nor after a reset; after a character it repeats it.
    m_terminal.write("\u200b\x1b[3b\r\xcc\x81\x1b[2b\x1b" "c\x1b[4b\x1b[2;1Hx\x1b[3b");
    EXPECT_EQ(screen(), "\nxxxx");
    m_terminal.write("\x1b[2J\x1b[H");
    m_terminal.write("\x1b]52;c;c2VjcmV0\x07\x1b]2;title\x07\x1b]0;both\x1b\\\x1b[21t\x1b[20t\x05\x1b]10;?\x07");
    EXPECT_EQ(m_sent, "");
    EXPECT_EQ(screen(), "");

    // The mouse is reported only once the program asks for it.
    m_terminal.pressMouse({ 1, 2 }, 1, true, 0);
    EXPECT_FALSE(m_terminal.wantsMouse());
    EXPECT_EQ(m_sent, "");
    m_terminal.write("\x1b[?1000h");
    m_terminal.pressMouse({ 1, 2 }, 1, true, 0);
    EXPECT_TRUE(m_terminal.wantsMouse());
    EXPECT_EQ(m_sent, "\x1b[M #\"");
}

TEST_F(TerminalEmulatorTest, ScrollRegionsInsertedAndDeletedCharactersAndWideCharactersMoveOnlyTheirCells)
{
    m_terminal.write("abcdef\r\n2\r\n3\r\n4\r\n5\x1b[1;3H\x1b[2@");
    EXPECT_EQ(screen(), "ab  cdef\n2\n3\n4\n5");
    m_terminal.write("\x1b[1;2H\x1b[3P");
    EXPECT_EQ(screen(), "acdef\n2\n3\n4\n5");
    // Lines scrolled inside a region that does not start at the top stay out of the scrollback.
    m_terminal.write("\x1b[2;4r\x1b[4;1H\n\n");
    EXPECT_EQ(screen(), "acdef\n4\n\n\n5");
    EXPECT_EQ(m_terminal.screen().scrollback().size(), 0u);

    // Overwriting half of a wide character blanks all of it.
    m_terminal.write("\x1b[r\x1b[3;1H\u4e2d\u4e2d\x1b[3;2Hx\x1b[3;3H\x1b[1@\x1b[3;7H\u4e2d\x1b[3;8H\x1b[X");
    EXPECT_EQ(screen(), "acdef\n4\n x \u4e2d\n\n5");

    // Lines leaving the top of the whole screen go to the scrollback.
    m_terminal.write("\x1b[5;1H\n\n");
    EXPECT_EQ(m_terminal.screen().scrollback().size(), 2u);
    EXPECT_EQ(screen(), " x \u4e2d\n\n5");
}

TEST_F(TerminalEmulatorTest, ResizingKeepsTheLinesAroundTheCursorInSightThroughTheScrollback)
{
    m_terminal.write("0\r\n1\r\n2\r\n3\r\n4\r\n5"); // the screen has scrolled once
    m_terminal.resize(3, 10);
    EXPECT_EQ(screen(), "3\n4\n5");
    EXPECT_EQ(m_terminal.cursor().row, 2);
    EXPECT_EQ(m_terminal.screen().scrollback().size(), 3u);
    m_terminal.resize(6, 10);
    EXPECT_EQ(screen(), "0\n1\n2\n3\n4\n5");
    EXPECT_EQ(m_terminal.cursor().row, 5);
    EXPECT_EQ(m_terminal.screen().scrollback().size(), 0u);

    // Blank lines below the cursor go before any line with text.
    m_terminal.write("\x1b[2J\x1b[H1\r\n2");
    m_terminal.resize(2, 10);
    EXPECT_EQ(screen(), "1\n2");
    EXPECT_EQ(m_terminal.screen().scrollback().size(), 0u);
    // The cursor's line stays: lines below it go first.
    m_terminal.write("\x1b[H");
    m_terminal.resize(1, 10);
    EXPECT_EQ(screen(), "1");
    EXPECT_EQ(m_terminal.cursor().row, 0);
}

TEST_F(TerminalEmulatorTest, TheConsolesNotesStandOnLinesOfTheirOwnInPlainCharactersWithControlsShown)
{
    m_terminal.write("\x1b(0qx"); // the line-drawing set, left chosen
    m_terminal.writeNote("q\x1b[2Jx", 9);
    EXPECT_EQ(screen(), "\u2500\u2502\nq\ufffd[2Jx");
    TerminalSnapshot snapshot;
    m_terminal.copyView(0, 0, snapshot);
    EXPECT_EQ(snapshot.at(1, 0).foreground, 9);
    EXPECT_TRUE(snapshot.at(1, 0).style & TerminalCell::bold);
    EXPECT_EQ(m_terminal.cursor().row, 2);
}

RC_GTEST_PROP(TerminalEmulatorProperties, PlainTextWrittenStraightIntoTheCellsEndsAsItDoesThroughLibvterm, ())
{
    const int rows = *rc::gen::inRange(1, 7);
    const int columns = *rc::gen::inRange(1, 13);
    TerminalEmulator shortcut(rows, columns, {});
    TerminalEmulator reference(rows, columns, {}, false);
    RC_LOG() << rows << "x" << columns << "\n";
    const int steps = *rc::gen::inRange(1, 80);
    for (int step = 0; step < steps; ++step) {
        if (*rc::gen::inRange(0, 30) == 0) {
            const int newRows = *rc::gen::inRange(1, 7);
            const int newColumns = *rc::gen::inRange(1, 13);
            shortcut.resize(newRows, newColumns);
            reference.resize(newRows, newColumns);
            RC_LOG() << "resize " << newRows << "x" << newColumns << "\n";
            continue;
        }
        const std::string bytes = programOutput();
        // In slices, which may cut a sequence or a character anywhere.
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t slice = *rc::gen::inRange<std::size_t>(1, bytes.size() - at + 1);
            shortcut.write(std::string_view(bytes).substr(at, slice));
            RC_LOG() << rc::toString(bytes.substr(at, slice)) << "\n";
            reference.write(std::string_view(bytes).substr(at, slice));
            at += slice;
        }
    }
    RC_ASSERT(everything(shortcut) == everything(reference));
}
