#include "ConsoleOutputView.h"
#include "DOSColor.h"
#include "RetroLabel.h"
#include "Theme.h"

#include "WidgetProbe.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <gtest/gtest.h>

using namespace kiv;

namespace {

QPlainTextEdit* textViewOf(const ConsoleOutputView& console)
{
    return console.findChild<QPlainTextEdit*>();
}

QString transcriptOf(const ConsoleOutputView& console)
{
    return textViewOf(console)->toPlainText();
}

// Expects every character of the first `part` in the transcript (line breaks aside) to be drawn
// bold or regular in `color` at 12 pixels.
void expectStyle(const ConsoleOutputView& console, const QString& part, bool bold, const QColor& color)
{
    QTextDocument* document = textViewOf(console)->document();
    const int start = static_cast<int>(document->toPlainText().indexOf(part));
    ASSERT_GE(start, 0) << part.toStdString();
    QTextCursor cursor(document);
    for (int at = start; at < start + part.size(); ++at) {
        if (part[at - start] == '\n')
            continue;
        cursor.setPosition(at + 1);
        const QTextCharFormat format = cursor.charFormat();
        EXPECT_EQ(format.font().bold(), bold) << part.toStdString() << " at " << at;
        EXPECT_EQ(format.foreground().color(), color) << part.toStdString() << " at " << at;
        EXPECT_EQ(format.font().pixelSize(), 12);
    }
}

ShellRunner::Result result(int exitCode, std::string out, std::string err = {})
{
    return { exitCode, std::move(out), std::move(err) };
}

} // namespace

TEST(ConsoleOutputViewTest, TranscriptShowsPromptOutputAndOnlyNonZeroExitCodes)
{
    const ConsoleOutputView silent("/tmp", "true", result(0, ""));
    EXPECT_EQ(transcriptOf(silent), "/tmp $ true\n\n(no output)\n");
    expectStyle(silent, "/tmp $ true", true, Theme::commandLineText());
    expectStyle(silent, "(no output)", false, Theme::panelText());

    EXPECT_EQ(
        transcriptOf(ConsoleOutputView("/tmp", "printf ok", result(0, "ok"))), "/tmp $ printf ok\n\nok\n");
    EXPECT_EQ(
        transcriptOf(ConsoleOutputView("/tmp", "echo ok", result(0, "ok\n"))), "/tmp $ echo ok\n\nok\n");
    // Both streams, unmarked, standard output first; escape sequences are shown, not interpreted.
    EXPECT_EQ(transcriptOf(ConsoleOutputView("/", "x", result(0, "out \x1b[31mred\x1b[0m", "err\n"))),
        "/ $ x\n\nout \x1b[31mred\x1b[0merr\n");
}

TEST(ConsoleOutputViewTest, FailuresEndInTheExitCodeInLightRed)
{
    const ConsoleOutputView failed("/home/ann", "ls nope", result(2, "", "ls: nope: No such file\n"));
    EXPECT_EQ(transcriptOf(failed), "/home/ann $ ls nope\n\nls: nope: No such file\n\n[exit code 2]\n");
    expectStyle(failed, "ls: nope: No such file", false, Theme::panelText());
    expectStyle(failed, "[exit code 2]", true, DOSColor::lightRed());

    const ConsoleOutputView unstarted(
        "/", "ls", result(-1, "", "Failed to launch shell: No such file or directory"));
    EXPECT_EQ(transcriptOf(unstarted),
        "/ $ ls\n\nFailed to launch shell: No such file or directory\n\n[exit code -1]\n");
}

TEST(ConsoleOutputViewTest, HintBarOnTopAndLongOutputScrolledToItsEndAfterEveryResize)
{
    std::string output;
    for (int line = 1; line <= 300; ++line)
        output += "line " + std::to_string(line) + "\n";
    output += std::string(2000, 'w'); // one line far wider than the view
    ConsoleOutputView console("/tmp", "seq", result(0, output));
    console.resize(500, 300);
    console.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&console));

    QPlainTextEdit* view = textViewOf(console);
    EXPECT_EQ(view->geometry(), QRect(0, 18, 500, 282));
    RetroLabel* hint = console.findChild<RetroLabel*>();
    EXPECT_EQ(hint->text(), " Press any key to return to Tavrin ");
    EXPECT_EQ(hint->geometry(), QRect(0, 0, 500, 18));
    QScrollBar* scrollBar = view->verticalScrollBar();
    EXPECT_GT(scrollBar->maximum(), 0);
    EXPECT_EQ(scrollBar->value(), scrollBar->maximum());
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(view->document()->findBlockByNumber(302).layout()->lineCount(), 1);

    scrollBar->setValue(0);
    console.resize(420, 260);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return scrollBar->value() == scrollBar->maximum() && scrollBar->value() > 0; }));

    const QImage image = test::renderOn(console, Qt::green);
    EXPECT_TRUE(test::hasColorAt(image, 1, 1, Theme::commandLineText()));
    EXPECT_TRUE(test::hasColorAt(image, 1, 20, Theme::commandLineBackground()));
}

TEST(ConsoleOutputViewTest, AnyKeyOrClickDismissesButAModifierAloneDoesNot)
{
    ConsoleOutputView console("/tmp", "ls", result(0, "a\n"));
    console.resize(300, 200);
    console.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&console));
    QTest::keyClick(&console, Qt::Key_A); // nothing set: nothing happens

    int dismissals = 0;
    console.onDismiss = [&] { ++dismissals; };
    for (Qt::Key key : { Qt::Key_A, Qt::Key_Tab, Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space })
        QTest::keyClick(&console, key);
    EXPECT_EQ(dismissals, 5);
    QTest::keyClick(&console, Qt::Key_Shift);
    EXPECT_EQ(dismissals, 5);

    QTest::mouseClick(textViewOf(console)->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseClick(&console, Qt::RightButton, {}, QPoint(150, 8));
    EXPECT_EQ(dismissals, 7);
}
