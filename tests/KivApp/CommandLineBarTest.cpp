#include "console/CommandLineBar.h"
#include "toolkit/RetroLabel.h"

#include <QLayout>
#include <QTest>
#include <gtest/gtest.h>

using namespace kiv;

TEST(CommandLineBarTest, PromptKeepsPathsUpTo40CharactersAndCutsLongerOnesToTheirEnd)
{
    CommandLineBar bar;
    auto promptFor = [&](const QString& path) {
        bar.setPromptPath(path);
        return bar.promptLabel()->text();
    };
    const QString forty = "/" + QString(39, 'a');
    EXPECT_EQ(promptFor(forty), forty + " $ ");
    EXPECT_EQ(promptFor(forty + "Z"), "..." + QString(36, 'a') + "Z $ ");
    // The whole prompt shows: the label is as wide as its text.
    bar.resize(900, 20);
    const QString prompt = promptFor(forty);
    bar.layout()->activate();
    EXPECT_GE(bar.promptLabel()->width(), QFontMetrics(bar.promptLabel()->font()).horizontalAdvance(prompt));

    // Characters as the user sees them: an e with a combining accent and an emoji count as one each.
    const QString accented = QString::fromUtf8("e\xCC\x81");
    const QString emoji = QString::fromUtf8("\xF0\x9F\x93\x81");
    EXPECT_EQ(promptFor("/" + accented.repeated(38) + emoji), "/" + accented.repeated(38) + emoji + " $ ");
    EXPECT_EQ(promptFor("/x" + accented.repeated(38) + emoji), "..." + accented.repeated(36) + emoji + " $ ");
}
