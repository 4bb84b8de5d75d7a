#include "console/CommandLineBar.h"
#include "console/CommandLineField.h"
#include "toolkit/RetroLabel.h"

#include <QKeyEvent>
#include <QLayout>
#include <QShortcut>
#include <QTest>
#include <gtest/gtest.h>

using namespace kiv;

namespace {

// A window that counts the keys its children let through to it.
class KeyCountingWindow : public QWidget
{
public:
    int keysSeen = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++keysSeen; }
};

} // namespace

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

TEST(CommandLineBarTest, ReturnEnterAndEscapeReachTheCallbacksAndGoNoFurther)
{
    KeyCountingWindow window;
    auto* bar = new CommandLineBar(&window);
    int shortcuts = 0, submits = 0, cancels = 0;
    QObject::connect(new QShortcut(Qt::Key_Escape, &window), &QShortcut::activated, [&] { ++shortcuts; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    CommandLineField* field = bar->field();
    field->setFocus();
    QTest::keyClicks(field, "ls -l");
    for (int round = 0; round < 2; ++round) { // without callbacks, then with them
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClick(field, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(field, Qt::Key_Escape);
        field->onSubmit = [&] { ++submits; };
        field->onCancel = [&] { ++cancels; };
    }
    EXPECT_EQ(field->text(), "ls -l");
    EXPECT_EQ(std::tuple(submits, cancels, shortcuts, window.keysSeen), std::tuple(2, 1, 0, 0));
}
