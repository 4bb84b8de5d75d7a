#include "terminal/TerminalEmulator.h"

#include "TerminalText.h"

#include <gtest/gtest.h>

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
