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

TEST(ConsoleOutputViewTest, TranscriptShowsPromptOutputAndOnlyNonZeroExitCodesInLightRed)
{
    const auto transcriptOf = [](const QString& command, const ShellRunner::Result& result) {
        return textViewOf(ConsoleOutputView("/tmp", command, result))->toPlainText();
    };
    EXPECT_EQ(transcriptOf("true", { 0, "", "" }), "/tmp $ true\n\n(no output)\n");
    EXPECT_EQ(transcriptOf("printf ok", { 0, "ok", "" }), "/tmp $ printf ok\n\nok\n");
    // Both streams, unmarked, standard output first; escape sequences are shown, not interpreted.
    EXPECT_EQ(transcriptOf("x", { 0, "out \x1b[31mred\x1b[0m", "err\n" }),
        "/tmp $ x\n\nout \x1b[31mred\x1b[0merr\n");
    EXPECT_EQ(transcriptOf("ls nope", { 2, "", "ls: nope: No such file\n" }),
        "/tmp $ ls nope\n\nls: nope: No such file\n\n[exit code 2]\n");

    const ConsoleOutputView failed("/tmp", "ls nope", { 2, "", "ls: nope: No such file\n" });
    EXPECT_EQ(styleOf(failed, "/tmp $ ls nope"), std::pair(true, Theme::commandLineText()));
    EXPECT_EQ(styleOf(failed, "ls: nope: No such file"), std::pair(false, Theme::panelText()));
    EXPECT_EQ(styleOf(failed, "[exit code 2]"), std::pair(true, Theme::commandFailureText()));
}

TEST(ConsoleOutputViewTest, LongOutputScrollsToItsEndWrapsWideLinesAndAnyKeyOrClickDismisses)
{
    std::string output;
    for (int line = 1; line <= 300; ++line)
        output += "line " + std::to_string(line) + "\n";
    output += std::string(2000, 'w'); // one line far wider than the view
    ConsoleOutputView console("/tmp", "seq", { 0, output, "" });
    console.resize(500, 300);
    console.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&console));

    QPlainTextEdit* view = textViewOf(console);
    QScrollBar* scrollBar = view->verticalScrollBar();
    EXPECT_TRUE(scrollBar->maximum() > 0 && scrollBar->value() == scrollBar->maximum()) << "not at the end";
    EXPECT_GT(view->document()->findBlockByNumber(302).layout()->lineCount(), 1);

    // Any key or click dismisses it, but a modifier alone does not.
    int dismissals = 0;
    console.onDismiss = [&] { ++dismissals; };
    for (Qt::Key key :
        { Qt::Key_A, Qt::Key_Tab, Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space, Qt::Key_Shift })
        QTest::keyClick(&console, key);
    EXPECT_EQ(dismissals, 5);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseClick(&console, Qt::RightButton, {}, QPoint(150, 8));
    EXPECT_EQ(dismissals, 7);
}
