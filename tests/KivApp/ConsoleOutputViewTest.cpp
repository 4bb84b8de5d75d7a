#include "console/ConsoleOutputView.h"
#include "toolkit/Theme.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

using namespace kiv;

namespace {

QPlainTextEdit* textViewOf(const ConsoleOutputView& console)
{
    return console.findChild<QPlainTextEdit*>();
}

// The style of the last character of the first `part` in the transcript: bold or not, and its colour.
std::pair<bool, QColor> styleOf(const ConsoleOutputView& console, const QString& part)
{
    QTextDocument* document = textViewOf(console)->document();
    QTextCursor cursor(document);
    cursor.setPosition(static_cast<int>(document->toPlainText().indexOf(part) + part.size()));
    return { cursor.charFormat().font().bold(), cursor.charFormat().foreground().color() };
}

} // namespace

using Stream = ConsoleLog::Stream;

TEST(ConsoleOutputViewTest, OutputArrivesInOrderWithStandardErrorInItsColourAndDroppedLinesAreCounted)
{
    const auto transcriptOf = [](const std::vector<ConsoleLog::Piece>& pieces, std::int32_t exitCode) {
        ConsoleOutputView console("/tmp", "x");
        console.showOutput({ 0, 0, pieces });
        console.finish(exitCode);
        return textViewOf(console)->toPlainText().toStdString();
    };
    EXPECT_EQ(transcriptOf({}, 0), "/tmp $ x\n\n(no output)\n");
    // Escape sequences are shown, not interpreted; an open last line is ended.
    EXPECT_EQ(transcriptOf({ { Stream::output, "out \x1b[31mred" } }, 0), "/tmp $ x\n\nout \x1b[31mred\n");
    EXPECT_EQ(transcriptOf({ { Stream::error, "nope\n" } }, 2), "/tmp $ x\n\nnope\n\n[exit code 2]\n");

    ConsoleOutputView console("/tmp", "ls nope");
    console.showOutput(
        { 0, 0, { { Stream::output, "1\n" }, { Stream::error, "2\n" }, { Stream::output, "3\n" } } });
    EXPECT_EQ(styleOf(console, "/tmp $ ls nope"), std::pair(true, Theme::commandLineText()));
    EXPECT_EQ(styleOf(console, "1"), std::pair(false, Theme::panelText()));
    EXPECT_EQ(styleOf(console, "2"), std::pair(false, Theme::commandErrorText()));
    // The log dropped lines 1 to 3, two of which the view shows, then more; the count follows.
    console.showOutput({ 2, 3, { { Stream::output, "4\n5" } } });
    EXPECT_EQ(textViewOf(console)->toPlainText().toStdString(),
        "/tmp $ ls nope\n\n[... 3 earlier lines dropped ...]\n3\n4\n5");
    console.showOutput({ 3, 1234, { { Stream::error, "6\n" } } });
    console.finish(1);
    EXPECT_EQ(textViewOf(console)->toPlainText().toStdString(),
        "/tmp $ ls nope\n\n[... 1,234 earlier lines dropped ...]\n6\n\n[exit code 1]\n");
    EXPECT_EQ(styleOf(console, "[exit code 1]"), std::pair(true, Theme::commandFailureText()));
}

TEST(ConsoleOutputViewTest, LongOutputScrollsToItsEndWrapsWideLinesAndOnlyAnEndedCommandIsDismissed)
{
    std::string output;
    for (int line = 1; line <= 300; ++line)
        output += "line " + std::to_string(line) + "\n";
    output += std::string(2000, 'w'); // one line far wider than the view
    ConsoleOutputView console("/tmp", "seq");
    console.showOutput({ 0, 0, { { Stream::output, output } } });
    console.resize(500, 300);
    console.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&console));

    QPlainTextEdit* view = textViewOf(console);
    QScrollBar* scrollBar = view->verticalScrollBar();
    EXPECT_TRUE(scrollBar->maximum() > 0 && scrollBar->value() == scrollBar->maximum()) << "not at the end";
    EXPECT_GT(view->document()->findBlockByNumber(302).layout()->lineCount(), 1);

    // While the command runs only Ctrl+C does anything; once it has ended any key or click
    // dismisses the view, but a modifier alone does not.
    int dismissals = 0;
    int interrupts = 0;
    console.onDismiss = [&] { ++dismissals; };
    console.onInterrupt = [&] { ++interrupts; };
    for (Qt::Key key : { Qt::Key_A, Qt::Key_Escape, Qt::Key_Return, Qt::Key_C })
        QTest::keyClick(&console, key);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::keyClick(&console, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(std::pair(dismissals, interrupts), std::pair(0, 1));
    console.finish(0);
    for (Qt::Key key :
        { Qt::Key_A, Qt::Key_Tab, Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space, Qt::Key_Shift })
        QTest::keyClick(&console, key);
    EXPECT_EQ(dismissals, 5);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseClick(&console, Qt::RightButton, {}, QPoint(150, 8));
    EXPECT_EQ(dismissals, 7);
}
