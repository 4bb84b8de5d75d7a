#include "toolkit/FittedText.h"

#include "jobscreen/JobQuestionDialog.h"
#include "toolkit/RetroChoiceView.h"
#include "toolkit/RetroDialogView.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

using namespace kiv;

namespace {

const QString sentenceEnd = " into itself or into one of its own subfolders.";

// The words of `text` that are not paths, in order.
QStringList wordsBesidePaths(const QString& text)
{
    QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    words.removeIf([](const QString& word) { return word.contains(u'/'); });
    return words;
}

} // namespace

TEST(FittedTextTest, PathsGiveWayInTheirMiddleAndTheWordsOfTheSentenceStay)
{
    const QFontMetrics metrics(RetroDialogView::messageFont());
    // Room for the sentence and twenty characters of its path.
    const int width = metrics.horizontalAdvance("Cannot copy the folder " + sentenceEnd + QString(20, u'x'));
    const QString deep = "/tmp/bb-self2/" + QString("nested/").repeated(12) + "chapter-20";
    const QString message = "Cannot copy the folder " + deep + sentenceEnd;
    const QString fitted = FittedText::line(message, metrics, width);
    EXPECT_LE(metrics.horizontalAdvance(fitted), width);
    EXPECT_TRUE(fitted.startsWith("Cannot copy the folder /tmp")) << fitted.toStdString();
    EXPECT_TRUE(fitted.endsWith("chapter-20" + sentenceEnd)) << fitted.toStdString();
    EXPECT_TRUE(fitted.contains(QChar(0x2026)));
    // Two paths are shortened alike; a line that fits is left alone.
    const QString two = FittedText::line("Copy " + deep + " to " + deep + "/x", metrics, width);
    const QStringList shortened = two.split(u' ');
    EXPECT_LE(metrics.horizontalAdvance(two), width);
    EXPECT_LE(std::abs(shortened[1].size() - shortened[3].size()), 2) << two.toStdString();
    EXPECT_EQ(FittedText::line("Cannot copy /a" + sentenceEnd, metrics, width), "Cannot copy /a" + sentenceEnd);

    // Wrapped, every word of the sentence is on a line that fits, and a path too wide for a line
    // of its own is shortened to fit one.
    const QString shallow = "/tmp/bb-self2/chapter-20";
    const QString longer = "The folder " + shallow + " could not be copied because " + deep + deep + sentenceEnd;
    const QStringList lines = FittedText::wrapped(longer, metrics, width);
    EXPECT_GE(lines.size(), 3);
    for (const QString& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line), width) << line.toStdString();
    EXPECT_EQ(wordsBesidePaths(lines.join(u' ')), wordsBesidePaths(longer));
    EXPECT_TRUE(lines.join(u' ').contains(shallow)) << "a path that fits a line is whole";
}

TEST(FittedTextTest, AJobsErrorQuestionShowsItsWholeReason)
{
    JobQuestion question;
    question.source.path = "/tmp/bb-self2";
    question.message = "Cannot copy the folder /tmp/bb-self2/" + std::string(30, 'f') + sentenceEnd.toStdString();
    JobQuestionDialog dialog("Copy", question, nullptr);
    const QStringList lines = dialog.face()->lines();
    const QString reason = lines.mid(3).join(u' ');
    EXPECT_EQ(reason.toStdString(), question.message);
    const QFontMetrics metrics(RetroDialogView::messageFont());
    for (const QString& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line), RetroChoiceView::textWidth(dialog.face()->width()));
}
